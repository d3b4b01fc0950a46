#include "appraise/documents/old_appraisals.h"

#include "common/cp1252.h"
#include "common/file_names.h"

#include <QLocale>

namespace appraise {

using namespace common;

std::vector<std::string> findOldAppraisals(const std::string& custprefix) {
    return listMatching("appraise\\" + custprefix + "???.app");
}

QString oldAppraisalEntry(const std::string& fileName) {
    const QDateTime when = modificationTime("appraise\\" + fileName);
    return fromAnsi(fileName) + ' ' + QLocale::c().toString(when, QStringLiteral("M/d/yy h:mm:ss AP"));
}

} // namespace appraise
