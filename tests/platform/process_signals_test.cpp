// The fatal signals, each in a child process: real processor faults (an
// integer division by zero, a touch past the end of a mapped file) and raised
// signals end the process with their one line on standard error and status
// 255; quit signals are only recorded until read.
#include "platform/process.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace vantrel::platform {
namespace {

class ProcessSignals : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

// Not instrumented: the sanitizers would report the division themselves.
[[noreturn]] __attribute__((no_sanitize("undefined"))) void divide_by_zero()
{
    install_fatal_signal_handlers();
    // Both operands unknown, so the compiler must emit the division itself.
    volatile int numerator = 1000;
    volatile int zero = 0;
    volatile int result = numerator / zero;
    (void)result;
    std::_Exit(1);
}

// A page of an empty file mapped shared: touching it is a bus error.
[[noreturn]] void touch_past_end_of_file()
{
    install_fatal_signal_handlers();
    FILE* file = std::tmpfile();
    if (!file)
        std::_Exit(2);
    void* page = mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fileno(file), 0);
    if (page == MAP_FAILED)
        std::_Exit(3);
    volatile char c = *static_cast<volatile char*>(page);
    (void)c;
    std::_Exit(1);
}

[[noreturn]] void raise_after_install(int sig)
{
    install_fatal_signal_handlers();
    raise(sig);
    std::_Exit(1);
}

const char* const fault_text = "^Unhandled Memory Exception Error\n$";
const char* const signal_text = "^Received Signal\n$";

TEST_F(ProcessSignals, ProcessorFaultsEndWithTheirOwnText)
{
    EXPECT_EXIT(divide_by_zero(), ::testing::ExitedWithCode(255), fault_text);
    EXPECT_EXIT(touch_past_end_of_file(), ::testing::ExitedWithCode(255), fault_text);
    EXPECT_EXIT(raise_after_install(SIGFPE), ::testing::ExitedWithCode(255), fault_text);
    EXPECT_EXIT(raise_after_install(SIGBUS), ::testing::ExitedWithCode(255), fault_text);
}

TEST_F(ProcessSignals, OtherFatalSignalsSayReceivedSignal)
{
    for (int sig : {SIGILL, SIGSEGV, SIGABRT, SIGTERM})
        EXPECT_EXIT(raise_after_install(sig), ::testing::ExitedWithCode(255), signal_text)
            << "signal " << sig;
}

[[noreturn]] void quit_signals_are_recorded()
{
    install_quit_signal_handlers();
    if (take_quit_signal())
        std::_Exit(1); // nothing arrived yet
    raise(SIGINT);
    if (!take_quit_signal() || take_quit_signal())
        std::_Exit(2); // read once, then forgotten
    raise(SIGHUP);
    if (!take_quit_signal())
        std::_Exit(3);
    std::_Exit(0);
}

TEST_F(ProcessSignals, QuitSignalsAreReadOnce)
{
    EXPECT_EXIT(quit_signals_are_recorded(), ::testing::ExitedWithCode(0), "^$");
}

} // namespace
} // namespace vantrel::platform
