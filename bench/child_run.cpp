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
    const double cpu = processCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    const int rc = std::strcmp(argv[2], "trace") == 0 ? recordPosting(trace, argv[4], firstmon)
                                                      : postHeadless(argv[4], argv[5], argv[6], firstmon);
    printTimes(t0, cpu);
    return rc;
}

double processCpuSeconds() {
    struct rusage ru {};
    ::getrusage(RUSAGE_SELF, &ru);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(ru.ru_utime) + seconds(ru.ru_stime);
}

void printTimes(std::chrono::steady_clock::time_point start, double cpuAtStart) {
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.6f %.6f\n", wall, processCpuSeconds() - cpuAtStart);
    std::fflush(stdout);
}

int runChild(const char* mode, const char* folder, const char* date, bool firstmon, double* seconds, long* peakKb,
             double* cpuSeconds) {
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
    double wall = 0, cpu = 0;
    if (n > 0 && std::sscanf(buf, "%lf %lf", &wall, &cpu) < 1) wall = 0;
    if (seconds) *seconds = wall;
    if (cpuSeconds) *cpuSeconds = cpu;
    if (peakKb) *peakKb = ru.ru_maxrss;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace bench
