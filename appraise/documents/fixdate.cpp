#include "appraise/documents/fixdate.h"

#include "common/dates.h"

namespace appraise {

using namespace common;

void fixdate(std::string& s) {
    if (s.size() < 2) return;
    if (s.size() == 6 && s.find('-') == std::string::npos)
        s = s.substr(0, 2) + "-" + s.substr(2, 2) + "-" + s.substr(4, 2);
    s = normaliseDashedDate(s);
}

} // namespace appraise
