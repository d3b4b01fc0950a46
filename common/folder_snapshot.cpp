#include "common/folder_snapshot.h"

#include <atomic>
#include <unordered_map>

namespace common {

namespace {
struct Snapshot {
    int users = 0;
    std::atomic<bool> listed{false};                    // dropped from any thread (a copy made beside other work)
    std::unordered_map<std::string, std::string> names; // lowered name -> the first in name order
    std::vector<std::string> all;                       // every name as listed
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
    if (--snapshot().users == 0) {
        snapshot().names.clear();
        snapshot().all.clear();
    }
}

void folderChanged() { snapshot().listed = false; }

namespace {
// The snapshot listed, when it was not since the last change; false when none lives.
bool listed(const std::function<LoweredNames()>& list) {
    Snapshot& snap = snapshot();
    if (snap.users == 0) return false;
    if (!snap.listed) {
        snap.names.clear();
        snap.all.clear();
        for (auto& [low, name] : list()) {
            snap.all.push_back(name);
            auto [it, added] = snap.names.emplace(std::move(low), name);
            if (!added && name < it->second) it->second = name;
        }
        snap.listed = true;
    }
    return true;
}
} // namespace

std::optional<std::vector<std::string>> snapshotNames(const std::function<LoweredNames()>& list) {
    if (!listed(list)) return std::nullopt;
    return snapshot().all;
}

std::optional<std::string> snapshotEntry(const std::string& lowered, const std::function<LoweredNames()>& list) {
    if (!listed(list)) return std::nullopt;
    Snapshot& snap = snapshot();
    const auto it = snap.names.find(lowered);
    return it == snap.names.end() ? std::string() : it->second;
}

} // namespace common
