// exec_stamped PROGRAM [ARGS...]: runs PROGRAM with VANTREL_EXEC_NS set to
// the monotonic clock just before the exec, so that the swap-timestamp
// library can tell how long after exec the first frames came.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: exec_stamped PROGRAM [ARGS...]\n");
        return 2;
    }
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const std::string ns = std::to_string(static_cast<long long>(ts.tv_sec) * 1000000000 + ts.tv_nsec);
    setenv("VANTREL_EXEC_NS", ns.c_str(), 1);
    execv(argv[1], argv + 1);
    std::perror(argv[1]);
    return 127;
}
