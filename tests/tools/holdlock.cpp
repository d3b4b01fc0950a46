// Holds a file the way another computer of the store would: an exclusive open-file-description
// lock on the whole file, until the process is stopped (or 120 seconds have passed).
#include "tests/support/held_lock.h"

#include <cstdio>
#include <exception>
#include <thread>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: holdlock FILE\n");
        return 2;
    }
    try {
        testsupport::HeldLock lock(argv[1]);
        std::printf("held\n");
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::seconds(120));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
