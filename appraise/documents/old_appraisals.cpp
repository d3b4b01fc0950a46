#include "appraise/documents/old_appraisals.h"

#include "common/cp1252.h"
#include "common/file_names.h"

#include <cstdio>
#include <ctime>

namespace appraise {

using namespace common;

std::vector<QString> oldAppraisalEntries(const std::string& custprefix) {
    std::vector<QString> entries;
    for (const ListedFile& file : listMatchingWithTimes("appraise\\" + custprefix + "???.app")) {
        // M/d/yy h:mm:ss AM, the general date format, in local time.
        const std::string& name = file.name;
        const time_t secs = static_cast<time_t>(file.modified);
        struct tm t {};
        ::localtime_r(&secs, &t);
        const int hour = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
        char stamp[48];
        std::snprintf(stamp, sizeof stamp, " %d/%d/%02d %d:%02d:%02d %s", t.tm_mon + 1, t.tm_mday, t.tm_year % 100,
                      hour, t.tm_min, t.tm_sec, t.tm_hour < 12 ? "AM" : "PM");
        entries.push_back(fromAnsi(name) + QLatin1String(stamp));
    }
    return entries;
}

} // namespace appraise
