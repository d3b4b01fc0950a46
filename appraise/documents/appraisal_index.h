#pragma once
#include "appraise/documents/appraisal_summary.h"
#include "common/file_names.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace appraise {

// The lists of appraisals show a few facts of each file. They are kept in a small index beside
// the appraisals ("APPRAISE\appraisals.idx") with each file's size and time, so that a list
// reads only the files that changed since it was last made. The index is never trusted over a
// file: a file whose size or time differs from its entry, or that changed in the same second
// the index was written, is read again; an index that cannot be read or written is only slower.
inline constexpr const char* appraisalIndexName = "appraise\\appraisals.idx";

// The files `list` gives (listed on this thread while the index is read on the other core), each
// with its facts: from the index where it holds the file as listed, from the file otherwise (read
// on both cores when there are many); nothing for a file that cannot be read now. The index is
// written again when anything was read; its entries whose names start with `scope` and that are
// not among the files are dropped, those of other names kept as they are.
struct ListedAppraisals {
    std::vector<common::ListedFile> files;
    std::vector<std::optional<AppraisalFacts>> facts;
};
ListedAppraisals listWithFacts(const std::function<std::vector<common::ListedFile>()>& list, const std::string& scope);

// The index's bytes for these entries, and the entries read back from such bytes (plain
// functions of the format, for the tests).
struct IndexEntry {
    std::string name;
    int64_t size = 0, modified = 0;
    AppraisalFacts facts;
};
std::string indexBytes(const std::vector<IndexEntry>& entries);
std::vector<IndexEntry> indexEntries(const std::string& bytes);

} // namespace appraise
