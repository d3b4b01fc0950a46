#pragma once
#include <QString>
#include <string>
#include <vector>

namespace appraise {

// The customer's saved appraisal files ("appraise\" + prefix + "???.app"), in name order.
std::vector<std::string> findOldAppraisals(const std::string& custprefix);

// The list entry of one saved appraisal: name, a blank, its modification date and time in
// the general date format ("00012001.app 7/4/98 10:22:15 AM").
QString oldAppraisalEntry(const std::string& fileName);

} // namespace appraise
