#pragma once
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace common {

// While one lives, looking a name up without regard to case in the current folder uses one
// listing of the folder instead of one listing a look-up; the programs' own creations and
// removals drop it. For a burst of look-ups, such as a start-up, in which no other program's
// change matters.
class FolderSnapshot {
  public:
    FolderSnapshot();
    ~FolderSnapshot();
    FolderSnapshot(const FolderSnapshot&) = delete;
    FolderSnapshot& operator=(const FolderSnapshot&) = delete;
};

// A file was created, removed or renamed: the snapshot, if any, is listed again when next used.
// The operating system seam (env.h) calls it for every change it makes; from any thread.
void folderChanged();

// The names of a folder listing, each with its lowered form: {lowered, name}.
using LoweredNames = std::vector<std::pair<std::string, std::string>>;

// While a snapshot lives: the entry of the current folder whose lowered name is `lowered` (the
// first in name order; "" when none is), the folder listed through `list` when the snapshot has
// no listing yet. Nothing when no snapshot lives.
std::optional<std::string> snapshotEntry(const std::string& lowered, const std::function<LoweredNames()>& list);
// While a snapshot lives: every name of the current folder, listed the same way. Nothing when no
// snapshot lives.
std::optional<std::vector<std::string>> snapshotNames(const std::function<LoweredNames()>& list);

} // namespace common
