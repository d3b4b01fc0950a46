#include "appraise/documents/appraisal_index.h"

#include "common/env.h"
#include "common/run_error.h"
#include "common/text_file.h"

#include <algorithm>
#include <future>
#include <set>
#include <unordered_map>

namespace appraise {

using namespace common;

namespace {
constexpr std::string_view firstLine = "Appraise index 1\r\n";

// The fields an entry holds after its name, size and time, in the index's order.
std::vector<std::string*> factFields(AppraisalFacts& f) {
    return {&f.date, &f.customer, &f.firstItem, &f.value, &f.reappraisalOf, &f.everyItem};
}

bool fitsALine(const std::string& s) { return s.find_first_of("\t\r\n") == std::string::npos; }

std::optional<int64_t> number(std::string_view s) {
    if (s.empty() || s.size() > 18 || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int64_t n = 0;
    for (const char c : s) n = n * 10 + (c - '0');
    return n;
}

// A file's bytes, by its path as listed (no name looked up: it is also read on another thread).
std::string wholeFile(const std::string& path) {
    const std::unique_ptr<EnvFile> f = Env::current().open(path, false, FileLock::Shared);
    std::string bytes(static_cast<size_t>(f->size()), '\0');
    bytes.resize(f->readAt(0, bytes.data(), bytes.size()));
    return bytes;
}

// The facts read from the file itself; nothing when it cannot be read now.
std::optional<AppraisalFacts> readFacts(const std::string& path) {
    try {
        return appraisalFacts(wholeFile(path));
    } catch (const RunError&) {
        return std::nullopt;
    }
}
} // namespace

std::string indexBytes(const std::vector<IndexEntry>& entries) {
    std::string out(firstLine);
    for (IndexEntry e : entries) {
        const std::vector<std::string*> fields = factFields(e.facts);
        // A fact that would not stay on its line is not kept: the file is read again instead.
        if (!fitsALine(e.name) || !std::all_of(fields.begin(), fields.end(), [](auto* s) { return fitsALine(*s); }))
            continue;
        out += e.name + '\t' + std::to_string(e.size) + '\t' + std::to_string(e.modified) + '\t' +
               std::to_string(e.facts.items);
        for (const std::string* s : fields) out += '\t' + *s;
        out += "\r\n";
    }
    return out;
}

std::vector<IndexEntry> indexEntries(const std::string& bytes) {
    std::vector<IndexEntry> entries;
    if (bytes.compare(0, firstLine.size(), firstLine) != 0) return entries; // not an index of this kind
    const std::string_view all(bytes);
    std::string_view parts[10];
    for (size_t from = firstLine.size(); from < all.size();) {
        const size_t end = all.find("\r\n", from);
        if (end == std::string_view::npos) break; // a line cut short is no entry
        std::string_view line = all.substr(from, end - from);
        from = end + 2;
        size_t count = 0;
        for (; count < std::size(parts); ++count) {
            const size_t tab = line.find('\t');
            parts[count] = line.substr(0, tab);
            if (tab == std::string_view::npos) {
                line = {};
                ++count;
                break;
            }
            line.remove_prefix(tab + 1);
        }
        if (count != std::size(parts) || !line.empty()) continue;
        const auto size = number(parts[1]), modified = number(parts[2]), items = number(parts[3]);
        if (parts[0].empty() || !size || !modified || !items || *items > 1000000) continue;
        IndexEntry& e = entries.emplace_back();
        e.name = parts[0];
        e.size = *size;
        e.modified = *modified;
        e.facts.items = static_cast<int>(*items);
        const std::vector<std::string*> fields = factFields(e.facts);
        for (size_t k = 0; k < fields.size(); ++k) fields[k]->assign(parts[4 + k]);
    }
    return entries;
}

namespace {
// The index as it is now: its entries by name, and when it was written.
struct Index {
    std::unordered_map<std::string, IndexEntry> entries;
    int64_t written = 0;
};

Index readIndex(const std::string& path) {
    Index index;
    Env& env = Env::current();
    try {
        const PathInfo info = env.info(path);
        if (!info.exists || info.folder) return index;
        std::vector<IndexEntry> entries = indexEntries(wholeFile(path));
        index.entries.reserve(entries.size());
        for (IndexEntry& e : entries) {
            std::string name = e.name;
            index.entries.emplace(std::move(name), std::move(e));
        }
        index.written = info.modified;
    } catch (const RunError&) {
        index = Index(); // every file read
    }
    return index;
}
} // namespace

ListedAppraisals listWithFacts(const std::function<std::vector<ListedFile>()>& list, const std::string& scope) {
    const std::string folder = resolveName("appraise");
    const std::string indexPath = resolveName(appraisalIndexName);
    // The index is read on the other core while the folder is listed on this one.
    auto reading = std::async(std::launch::async, readIndex, indexPath);
    ListedAppraisals out;
    out.files = list();
    const std::vector<ListedFile>& files = out.files;
    Index index = reading.get();
    std::unordered_map<std::string, IndexEntry>& indexed = index.entries;
    const int64_t indexTime = index.written;
    std::vector<std::optional<AppraisalFacts>>& facts = out.facts;
    facts.resize(files.size());
    std::vector<size_t> toRead;
    size_t found = 0; // files the index has an entry for
    for (size_t k = 0; k < files.size(); ++k) {
        const auto it = indexed.find(files[k].name);
        if (it != indexed.end()) ++found;
        // A file changed in the second the index was written may have changed after it.
        if (it != indexed.end() && it->second.size == files[k].size && it->second.modified == files[k].modified &&
            files[k].modified < indexTime)
            facts[k] = std::move(it->second.facts);
        else toRead.push_back(k);
    }
    const auto readSome = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) facts[toRead[i]] = readFacts(folder + "/" + files[toRead[i]].name);
    };
    if (toRead.size() >= 64) {
        // Half on the other core: each file is its own, so the two halves share nothing.
        const size_t half = toRead.size() / 2;
        auto other = std::async(std::launch::async, readSome, half, toRead.size());
        readSome(0, half);
        other.get();
    } else {
        readSome(0, toRead.size());
    }

    bool changed = !toRead.empty();
    // Entries of files no longer there: only when the index holds more of the scope than was found.
    const size_t inScope = static_cast<size_t>(std::count_if(
        indexed.begin(), indexed.end(), [&](const auto& e) { return e.first.compare(0, scope.size(), scope) == 0; }));
    if (inScope > found) {
        std::set<std::string> listed;
        for (const ListedFile& f : files) listed.insert(f.name);
        std::erase_if(indexed, [&](const auto& e) {
            return e.first.compare(0, scope.size(), scope) == 0 && !listed.count(e.first);
        });
        changed = true;
    }
    if (!changed) return out;
    for (size_t k = 0; k < files.size(); ++k) // the entries vouched for, given back their facts
        if (const auto it = indexed.find(files[k].name); it != indexed.end() && facts[k]) it->second.facts = *facts[k];
    for (const size_t k : toRead) {
        if (facts[k]) indexed[files[k].name] = IndexEntry{files[k].name, files[k].size, files[k].modified, *facts[k]};
        else indexed.erase(files[k].name); // read again next time
    }
    std::vector<IndexEntry> entries;
    entries.reserve(indexed.size());
    for (auto& [name, e] : indexed) entries.push_back(std::move(e));
    std::sort(entries.begin(), entries.end(), [](const IndexEntry& a, const IndexEntry& b) { return a.name < b.name; });
    try {
        Env::current().replace(indexPath, indexBytes(entries), temporarySuffix);
    } catch (const RunError&) {
        // Held or read-only: the lists read the files themselves next time too.
    }
    return out;
}

} // namespace appraise
