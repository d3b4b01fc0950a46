#include "interest/large_pages.h"

#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

std::string largePagesMode() {
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string line;
    std::getline(in, line);
    return line;
}

// The "THPeligible" line of the mapping that holds the address: 1 when its pages may be large.
int largePagesAllowedAt(const void* p) {
    const auto at = reinterpret_cast<uintptr_t>(p);
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        uintptr_t from = 0, to = 0;
        char dash = 0;
        std::istringstream head(line);
        if (head >> std::hex >> from >> dash >> to && dash == '-' && line.find(':') > line.find(' ')) {
            inside = from <= at && at < to;
            continue;
        }
        if (inside && line.rfind("THPeligible:", 0) == 0) return std::stoi(line.substr(12));
    }
    return -1;
}

} // namespace

TEST(LargePagesTest, ABlockBufferIsTakenWhereLargePagesAreAllowed) {
    // Only where large pages are given on advice is the answer the program's own doing: with
    // "always" every mapping is eligible, with "never" none is.
    const std::string mode = largePagesMode();
    if (mode.find("[madvise]") == std::string::npos)
        GTEST_SKIP() << "large pages are not given on advice here (" << mode << ")";
    interest::preferLargePages();
    const void* end = ::sbrk(0);
    interest::preferLargePages(); // once per process: the heap is not grown again
    EXPECT_EQ(::sbrk(0), end);
    // A block of 32,768 accounts of 222 bytes, as a posting takes it.
    std::string block;
    block.reserve(32768 * 222);
    EXPECT_EQ(largePagesAllowedAt(block.data() + block.capacity() / 2), 1);
}
