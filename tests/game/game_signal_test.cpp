// Signals sent to the real program on the tests' X server: SIGINT and SIGHUP
// end it like the close box (status 0, nothing on standard error, window
// gone); SIGTERM ends it with "Received Signal" and status 255. Skipped
// without a display or without xdotool.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

bool run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string output_of(const std::string& command)
{
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p))
            out += buf;
        pclose(p);
    }
    return out;
}

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The game as a child process whose standard error goes to a file.
class GameProcess {
public:
    explicit GameProcess(const std::string& stderr_file) : stderr_file_(stderr_file)
    {
        pid_ = fork();
        if (pid_ == 0) {
            const int fd = open(stderr_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (fd >= 0)
                dup2(fd, STDERR_FILENO);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            execl(VANTREL_EXECUTABLE, VANTREL_EXECUTABLE, static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~GameProcess()
    {
        if (pid_ > 0 && !done_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        std::remove(stderr_file_.c_str());
    }
    pid_t pid() const { return pid_; }
    // The ids of the game's visible windows, one a line.
    static std::string windows()
    {
        return output_of("xdotool search --onlyvisible --name '^Vantrel v.0.3$' 2>/dev/null");
    }
    // The window's id once it is mapped, or "" after five seconds.
    std::string window()
    {
        for (int i = 0; i < 100; ++i) {
            const std::string ids = windows();
            if (!ids.empty())
                return ids.substr(0, ids.find('\n'));
            sleep_ms(50);
        }
        return "";
    }
    // The exit status (128 + signal when killed), or -1 after ten seconds.
    int wait_exit()
    {
        for (int i = 0; i < 1000; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                done_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            sleep_ms(10);
        }
        return -1;
    }
    std::string error_text() const
    {
        std::ifstream in(stderr_file_);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::string stderr_file_;
    pid_t pid_ = -1;
    bool done_ = false;
};

struct Outcome {
    int status;
    std::string error_text;
    bool window_was_open;
    bool window_gone;
};

// Starts the game, lets it fly for a second, sends `sig`.
Outcome signal_the_game(int sig)
{
    GameProcess game(testing::TempDir() + "vantrel_signal_stderr_" + std::to_string(sig));
    const std::string wid = game.window();
    if (wid.empty())
        return {-1, "", false, false};
    sleep_ms(1000);
    kill(game.pid(), sig);
    Outcome outcome{game.wait_exit(), "", true, false};
    outcome.error_text = game.error_text();
    outcome.window_gone = !run("xwininfo -id " + wid) && GameProcess::windows().empty();
    return outcome;
}

class GameSignalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no display";
        if (!run("command -v xdotool") || !run("command -v xwininfo"))
            GTEST_SKIP() << "xdotool or xwininfo is not installed";
    }
};

TEST_F(GameSignalTest, SigintEndsTheGameLikeTheCloseBox)
{
    const Outcome outcome = signal_the_game(SIGINT);
    ASSERT_TRUE(outcome.window_was_open) << "no game window appeared";
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.error_text, "");
    EXPECT_TRUE(outcome.window_gone);
}

TEST_F(GameSignalTest, SighupEndsTheGameLikeTheCloseBox)
{
    const Outcome outcome = signal_the_game(SIGHUP);
    ASSERT_TRUE(outcome.window_was_open) << "no game window appeared";
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.error_text, "");
    EXPECT_TRUE(outcome.window_gone);
}

TEST_F(GameSignalTest, SigtermIsAFatalSignal)
{
    const Outcome outcome = signal_the_game(SIGTERM);
    ASSERT_TRUE(outcome.window_was_open) << "no game window appeared";
    EXPECT_EQ(outcome.status, 255);
    EXPECT_EQ(outcome.error_text, "Received Signal\n");
    EXPECT_TRUE(outcome.window_gone);
}

} // namespace
