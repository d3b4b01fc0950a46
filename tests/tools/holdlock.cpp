// Holds a file the way another computer of the store would: the system's exclusive whole-file
// lock, until FILE.release appears (or the process is stopped, or 120 seconds have passed).
// Before it lets go it says whether the file's bytes are still those it found: nobody else may
// write a file while another holds it.
#include "tests/support/held_lock.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <thread>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: holdlock FILE\n");
        return 2;
    }
    const std::string file = argv[1];
    try {
        testsupport::HeldLock lock(file);
        const std::string found = lock.contents();
        std::printf("held\n");
        std::fflush(stdout);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (!std::filesystem::exists(file + ".release") && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::printf(lock.contents() == found ? "unchanged\n" : "changed while held\n");
        std::fflush(stdout);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::filesystem::remove(file + ".release");
    return 0;
}
