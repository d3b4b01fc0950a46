#include "appraise/documents/old_appraisals.h"

#include "appraise/documents/appraisal_index.h"
#include "appraise/documents/appraisal_summary.h"
#include "common/cp1252.h"
#include "common/file_names.h"

namespace appraise {

using namespace common;

std::vector<QString> oldAppraisalEntries(const std::string& custprefix) {
    std::vector<QString> entries;
    const auto [files, facts] =
        listWithFacts([&] { return listMatchingWithTimes("appraise\\" + custprefix + "???.app"); }, custprefix);
    for (size_t k = 0; k < files.size(); ++k) {
        // A file that cannot be read now is still listed; opening it says why.
        const std::string summary = facts[k] ? appraisalSummary(*facts[k]) : std::string();
        entries.push_back(fromAnsi(files[k].name + (summary.empty() ? "" : "  " + summary)));
    }
    return entries;
}

} // namespace appraise
