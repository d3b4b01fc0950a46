#pragma once
#include <QString>
#include <string>
#include <vector>

namespace appraise {

// The list entries of the customer's saved appraisal files ("appraise\" + prefix + "???.app"),
// in name order: the 12-character file name, two blanks and what the appraisal holds
// ("00012001.app  12-9-26  Ring, 14 karat yellow gold  2,450.00"). The folder is listed once.
std::vector<QString> oldAppraisalEntries(const std::string& custprefix);

} // namespace appraise
