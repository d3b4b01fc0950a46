#pragma once

namespace interest {

// Lets the work that follows take its memory in large pages where the system allows it (the
// heap grown ahead and advised once, large buffers taken from the heap and kept there). On a
// virtual machine a page fault costs several microseconds: a run that touches tens of
// megabytes of new memory in 4 KB pages spends much of its time faulting them in. Called
// once per process; later calls do nothing. The heap keeps up to 128 MB it no longer uses.
// Does nothing where the system does not allow it.
void preferLargePages();

} // namespace interest
