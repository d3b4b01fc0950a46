#pragma once
#include <QString>
#include <string>
#include <vector>

namespace appraise {

// The list entries of the customer's saved appraisal files ("appraise\" + prefix + "???.app"),
// in name order: name, a blank, its modification date and time in the general date format
// ("00012001.app 7/4/98 10:22:15 AM"). The folder is looked up and listed once.
std::vector<QString> oldAppraisalEntries(const std::string& custprefix);

} // namespace appraise
