#pragma once
#include "platform/platform.h"

#include <functional>

namespace interest {

// Undoes the last completed posting, asked first (No the default): held like a posting, refused
// while a stopped one waits or when a file it changed has changed since; the files put back as
// they were before it and its kept report marked as undone. `undone` runs once the files are
// back, before the user is told. False when nothing was undone.
bool undoLastPosting(platform::Platform& p, const std::function<void()>& undone);

} // namespace interest
