#include "interest/posting_report.h"

#include "common/basic_number.h"
#include "common/format_picture.h"
#include "common/trim_left_right_mid.h"

#include <cstdio>
#include <utility>

namespace interest {

using namespace common;

namespace {
constexpr int nameWidth = 32;

std::string money(double v) { return std::string(trim(formatPicture(Money::fromDouble(v), "#########0.00"))); }

std::string columns(const std::string& account, const std::string& name, const std::string& before,
                    const std::string& charge, const std::string& after) {
    char line[160];
    std::snprintf(line, sizeof line, "%7s  %-*.*s%14s%10s%15s", account.c_str(), nameWidth, nameWidth - 1, name.c_str(),
                  before.c_str(), charge.c_str(), after.c_str());
    return line;
}

std::string countLine(const char* what, int32_t n) {
    char line[80];
    std::snprintf(line, sizeof line, "   %-36s%8d", what, n);
    return line;
}
} // namespace

std::string columnHeadings() { return columns("Account", "Name", "Balance before", "Charge", "Balance after"); }

std::string chargeLine(int32_t accountNo, const std::string& name, double before, const std::string& charge,
                       double after) {
    return columns(std::to_string(accountNo), name, money(before), money(val(charge)), money(after));
}

std::vector<std::string> reportSummary(int32_t charged, Money total, const SparedAccounts& spared) {
    char line[120];
    std::vector<std::string> lines{std::string()};
    std::snprintf(line, sizeof line, "%-39s%8d   Total of interest charged %12s", "Accounts charged", charged,
                  std::string(trim(formatPicture(total, "#########0.00"))).c_str());
    lines.emplace_back(line);
    const int32_t notCharged =
        spared.marked + spared.rateZero + spared.recent + spared.small + spared.layaway + spared.noBalance;
    std::snprintf(line, sizeof line, "%-39s%8d", "Accounts not charged", notCharged);
    lines.emplace_back(line);
    const std::pair<const char*, int32_t> reasons[] = {{"marked for no interest", spared.marked},
                                                       {"rate of 0", spared.rateZero},
                                                       {"charged within the last month", spared.recent},
                                                       {"balance under 1.00", spared.small},
                                                       {"layaway", spared.layaway},
                                                       {"no balance", spared.noBalance}};
    for (const auto& [what, n] : reasons)
        if (n > 0) lines.push_back(countLine(what, n));
    return lines;
}

std::string ratePercent(double rate) {
    char text[40];
    std::snprintf(text, sizeof text, "%.4f", rate * 100);
    std::string s(text);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s + " %";
}

} // namespace interest
