#include "common/file_names.h"

#include "common/run_error.h"

#include "common/env.h"
#include "common/folder_snapshot.h"

#include <algorithm>
#include <cctype>

namespace common {

bool sameName(std::string_view a, std::string_view b);

namespace {
char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::vector<std::string> splitParts(std::string_view name) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : name) {
        if (c == '\\' || c == '/') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

std::string loweredName(std::string_view s) {
    std::string l(s);
    for (char& c : l) c = lower(c);
    return l;
}

// The names of the current folder, each with its lowered form, in one listing.
LoweredNames currentFolderNames() {
    LoweredNames names;
    for (FolderEntry& e : Env::current().list("", true)) names.emplace_back(loweredName(e.name), std::move(e.name));
    return names;
}

// The entry of a folder that matches a name without regard to case (the first in name order),
// found in one pass over the folder; empty when none does.
std::string entryMatching(const std::string& dir, const std::string& part) {
    if (dir.empty()) {
        if (const auto fromSnapshot = snapshotEntry(loweredName(part), currentFolderNames)) return *fromSnapshot;
    }
    std::string found;
    for (const FolderEntry& e : Env::current().list(dir, true))
        if (sameName(e.name, part) && (found.empty() || e.name < found)) found = e.name;
    return found;
}

std::string join(const std::string& dir, const std::string& part) { return dir.empty() ? part : dir + "/" + part; }

// The folder part of a name, resolved, and its last part as given.
std::pair<std::string, std::string> splitFolder(std::string_view name) {
    auto parts = splitParts(name);
    if (parts.empty()) return {"", ""};
    std::string last = parts.back();
    parts.pop_back();
    std::string dir;
    for (const auto& p : parts) dir = join(dir, p);
    return {dir.empty() ? "" : resolveName(dir), last};
}

bool matchAt(std::string_view n, std::string_view p) {
    if (p.empty()) return n.empty();
    if (p[0] == '*') {
        for (size_t k = 0; k <= n.size(); ++k)
            if (matchAt(n.substr(k), p.substr(1))) return true;
        return false;
    }
    if (n.empty()) return false;
    if (p[0] != '?' && lower(p[0]) != lower(n[0])) return false;
    return matchAt(n.substr(1), p.substr(1));
}
} // namespace

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool matchesPattern(std::string_view name, std::string_view pattern) { return matchAt(name, pattern); }

std::string resolveName(std::string_view name) {
    const auto parts = splitParts(name);
    std::string path;
    for (const auto& part : parts) {
        std::string candidate = join(path, part);
        Env& env = Env::current();
        // Where case does not count the system names the entry as stored (one spelling for one
        // file); elsewhere a name not there as spelled is looked for in the folder.
        if (const std::string stored = env.nameAsStored(candidate); !stored.empty()) {
            candidate = join(path, stored);
        } else if (!env.info(candidate).exists) {
            if (const std::string e = entryMatching(path, part); !e.empty()) candidate = join(path, e);
        }
        path = candidate;
    }
    return path;
}

bool fileExists(std::string_view name) {
    if (name.empty()) return false;
    const PathInfo i = Env::current().info(resolveName(name));
    return i.exists && !i.folder;
}

std::vector<ListedFile> listMatchingWithTimes(std::string_view pattern) {
    const auto [dir, filePattern] = splitFolder(pattern);
    // Only the names that match are looked at further: a folder may hold thousands of others.
    std::vector<ListedFile> out;
    Env& env = Env::current();
    std::vector<std::string> names;
    if (auto fromSnapshot = dir.empty() ? snapshotNames(currentFolderNames) : std::nullopt) {
        names = std::move(*fromSnapshot);
    } else {
        for (FolderEntry& e : env.list(dir, true)) names.push_back(std::move(e.name));
    }
    for (const std::string& name : names) {
        if (!matchesPattern(name, filePattern)) continue;
        const PathInfo i = env.info(dir.empty() ? name : dir + "/" + name);
        if (i.exists && !i.folder) out.push_back(ListedFile{name, i.modified, i.size});
    }
    std::sort(out.begin(), out.end(), [](const ListedFile& a, const ListedFile& b) { return a.name < b.name; });
    return out;
}

std::vector<std::string> listMatching(std::string_view pattern) {
    std::vector<std::string> out;
    for (auto& f : listMatchingWithTimes(pattern)) out.push_back(std::move(f.name));
    return out;
}

void copyFile(std::string_view from, std::string_view to) {
    const std::string src = resolveName(from);
    if (!fileExists(from)) throw RunError(err::FileNotFound, std::string(from));
    Env::current().copy(src, resolveName(to), to);
}

void removeFile(std::string_view name) {
    if (!fileExists(name)) throw RunError(err::FileNotFound, std::string(name));
    Env::current().remove(resolveName(name), name);
}

void makeFolder(std::string_view name) { Env::current().makeFolder(resolveName(name), name); }

} // namespace common
