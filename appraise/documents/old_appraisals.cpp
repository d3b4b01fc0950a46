#include "appraise/documents/old_appraisals.h"

#include "appraise/documents/appraisal_summary.h"
#include "common/cp1252.h"
#include "common/file_names.h"
#include "common/locked_file.h"
#include "common/run_error.h"

namespace appraise {

using namespace common;

std::vector<QString> oldAppraisalEntries(const std::string& custprefix) {
    std::vector<QString> entries;
    for (const ListedFile& file : listMatchingWithTimes("appraise\\" + custprefix + "???.app")) {
        std::string summary;
        try {
            // The bytes as they are: the summary splits the lines itself.
            summary = appraisalSummary(LockedFile("appraise\\" + file.name, Access::Read).readAll());
        } catch (const RunError&) {
            // A file that cannot be read now is still listed; opening it says why.
        }
        entries.push_back(fromAnsi(file.name + (summary.empty() ? "" : "  " + summary)));
    }
    return entries;
}

} // namespace appraise
