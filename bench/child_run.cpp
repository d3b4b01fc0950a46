#include "bench/child_run.h"

#include "bench/headless_posting.h"
#include "bench/io_floor.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

int childMain(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--child") != 0) return -1;
    // A child never does the parent's work, whatever it was given.
    if (argc != 8) {
        std::fprintf(stderr, "child: expected 6 arguments, got %d\n", argc - 2);
        return 2;
    }
    if (::chdir(argv[3]) != 0) return 2;
    const bool firstmon = std::strcmp(argv[7], "1") == 0;
    // "trace FOLDER": posts and records its I/O into FOLDER/../trace-of-FOLDER; "floor" replays it.
    const std::string trace = std::string(argv[3]) + ".trace";
    if (std::strcmp(argv[2], "floor") == 0) {
        const double s = replayFloor(trace);
        std::printf("%.6f\n", s);
        return s < 0 ? 1 : 0;
    }
    const auto t0 = std::chrono::steady_clock::now();
    const int rc = std::strcmp(argv[2], "trace") == 0 ? recordPosting(trace, argv[4], firstmon)
                                                      : postHeadless(argv[4], argv[5], argv[6], firstmon);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%.6f\n", s);
    return rc;
}

int runChild(const char* mode, const char* folder, const char* date, bool firstmon, double* seconds, long* peakKb) {
    int out[2];
    if (::pipe(out) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::close(out[1]);
        ::execl("/proc/self/exe", "child", "--child", mode, folder, date, ".015", "1.00", firstmon ? "1" : "0",
                static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    ::close(out[1]);
    char buf[64] = {};
    const ssize_t n = ::read(out[0], buf, sizeof buf - 1);
    ::close(out[0]);
    int status = 0;
    struct rusage ru {};
    ::wait4(pid, &status, 0, &ru);
    if (seconds) *seconds = n > 0 ? std::atof(buf) : 0;
    if (peakKb) *peakKb = ru.ru_maxrss;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace bench
