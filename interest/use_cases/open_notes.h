#pragma once
#include "interest/collection_notes.h"
#include "platform/platform.h"

#include <optional>

namespace interest {

// The collection notes opened for editing: what they are for is told first, then they are
// read; a failure to read them is told by its step, and there are none to edit.
std::optional<CollectionNotes> openNotes(platform::Platform& p);

} // namespace interest
