#include "interest/large_pages.h"

#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace interest {

namespace {

constexpr int kMiB = 1 << 20;
constexpr uintptr_t kLargePage = 2 * kMiB;

} // namespace

void preferLargePages() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Buffers of up to 32 MB (a block of accounts is about 7 MB) come from the heap and are
        // reused from block to block instead of mapped and unmapped each time; the heap keeps
        // what it freed during a run and grows 64 MB at a time.
        mallopt(M_MMAP_THRESHOLD, 32 * kMiB);
        mallopt(M_TRIM_THRESHOLD, 128 * kMiB);
        mallopt(M_TOP_PAD, 64 * kMiB);
        // Grow the heap now and advise the new part, so that the pages faulted in there later
        // are large ones. Only the heap's own end is looked at; nothing here is written.
        const auto before = reinterpret_cast<uintptr_t>(::sbrk(0));
        void* volatile grow = std::malloc(16 * kMiB); // volatile: the compiler may not leave it out
        const auto after = reinterpret_cast<uintptr_t>(::sbrk(0));
        std::free(grow);
        if (before == static_cast<uintptr_t>(-1) || after <= before) return;
        const uintptr_t from = (before + kLargePage - 1) & ~(kLargePage - 1);
        if (after > from) (void)::madvise(reinterpret_cast<void*>(from), after - from, MADV_HUGEPAGE);
    });
}

} // namespace interest
