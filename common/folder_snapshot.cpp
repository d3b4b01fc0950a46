#include "common/folder_snapshot.h"

#include <atomic>
#include <unordered_map>

namespace common {

namespace {
struct Snapshot {
    int users = 0;
    std::atomic<bool> listed{false};                    // dropped from any thread (a copy made beside other work)
    std::unordered_map<std::string, std::string> names; // lowered name -> the first in name order
};
Snapshot& snapshot() {
    static Snapshot s;
    return s;
}
} // namespace

FolderSnapshot::FolderSnapshot() {
    ++snapshot().users;
    snapshot().listed = false;
}

FolderSnapshot::~FolderSnapshot() {
    if (--snapshot().users == 0) snapshot().names.clear();
}

void folderChanged() { snapshot().listed = false; }

std::optional<std::string> snapshotEntry(const std::string& lowered, const std::function<LoweredNames()>& list) {
    Snapshot& snap = snapshot();
    if (snap.users == 0) return std::nullopt;
    if (!snap.listed) {
        snap.names.clear();
        for (auto& [low, name] : list()) {
            auto [it, added] = snap.names.emplace(std::move(low), name);
            if (!added && name < it->second) it->second = name;
        }
        snap.listed = true;
    }
    const auto it = snap.names.find(lowered);
    return it == snap.names.end() ? std::string() : it->second;
}

} // namespace common
