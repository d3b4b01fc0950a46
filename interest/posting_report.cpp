#include "interest/posting_report.h"

#include "common/basic_number.h"
#include "common/format_picture.h"
#include "common/run_error.h"
#include "common/trim_left_right_mid.h"

#include <cstdio>
#include <utility>

namespace interest {

using namespace common;

namespace {
constexpr int nameWidth = 30;

std::string money(Money v) { return std::string(trim(formatPicture(v, "#########0.00"))); }
std::string money(double v) { return money(Money::fromDouble(v)); }

std::string right(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string columns(const std::string& account, const std::string& name, const std::string& before,
                    const std::optional<std::string>& base, const std::string& charge, const std::string& mark,
                    const std::string& after) {
    char head[80];
    std::snprintf(head, sizeof head, "%7s  %-*.*s", account.c_str(), nameWidth, nameWidth - 1, name.c_str());
    std::string line = head + right(before, 14);
    if (base) line += right(*base, 12);
    line += right(charge, 10);
    line += mark + std::string(4 - mark.size(), ' ');
    return line + right(after, 13);
}

std::string countLine(const char* what, int32_t n) {
    char line[80];
    std::snprintf(line, sizeof line, "   %-36s%8d", what, n);
    return line;
}

std::string why(const SparedLine& s) {
    switch (s.why) {
    case SparedLine::Why::Marked:
        return trim(s.markLeft) == "99" ? "marked for no interest (99: always)"
                                        : "marked for no interest, " + std::string(trim(s.markLeft)) + " left";
    case SparedLine::Why::RateZero: return "a rate of 0";
    case SparedLine::Why::Recent: return "last month's charges: base " + money(s.base);
    case SparedLine::Why::Small: return "balance under the minimum of 1.00";
    case SparedLine::Why::Layaway: return "layaway";
    case SparedLine::Why::NoBalance: return "no balance";
    case SparedLine::Why::Credit: return "a credit balance";
    case SparedLine::Why::ByHand: return "spared by hand in the preview";
    case SparedLine::Why::Other: break;
    }
    return s.because;
}
} // namespace

int32_t SparedAccounts::total() const {
    return marked + rateZero + recent + small + layaway + noBalance + credit + byHand + tooLarge + unreadable +
           checkByHand;
}

SparedAccounts& SparedAccounts::operator+=(const SparedAccounts& o) {
    for (auto [mine, theirs] : {std::pair{&marked, o.marked},
                                {&rateZero, o.rateZero},
                                {&recent, o.recent},
                                {&small, o.small},
                                {&layaway, o.layaway},
                                {&noBalance, o.noBalance},
                                {&credit, o.credit},
                                {&byHand, o.byHand},
                                {&tooLarge, o.tooLarge},
                                {&unreadable, o.unreadable},
                                {&checkByHand, o.checkByHand}})
        *mine += theirs;
    return *this;
}

std::string columnHeadings(bool withBase) {
    return columns("Account", "Name", "Balance before", withBase ? std::optional<std::string>("Base") : std::nullopt,
                   "Charge", "", "Balance after");
}

std::string chargeLine(const ChargeLine& c, bool withBase) {
    std::optional<std::string> base;
    if (withBase) base = c.base ? money(*c.base) : std::string();
    return columns(std::to_string(c.account), c.name, money(c.before), base, money(Money::fromText(c.charge)),
                   c.minimum ? " min" : "", money(c.after));
}

std::string balanceText(std::string_view field) {
    try {
        return money(val(field));
    } catch (const RunError&) {
        return std::string(trim(field));
    }
}

std::string sparedHeading() { return "Accounts not charged, and why"; }

std::string sparedColumns() {
    char line[120];
    std::snprintf(line, sizeof line, "%7s  %-*s%12s  %s", "Account", nameWidth, "Name", "Balance", "Why");
    return line;
}

std::string sparedLine(const SparedLine& s) {
    char line[200];
    std::snprintf(line, sizeof line, "%7d  %-*.*s%12s  ", s.account, nameWidth, nameWidth - 1, s.name.c_str(),
                  s.balance.c_str());
    return line + why(s);
}

std::vector<std::string> reportSummary(int32_t accounts, int32_t charged, Money total, const SparedAccounts& spared) {
    char line[120];
    std::vector<std::string> lines{std::string()};
    std::snprintf(line, sizeof line, "%-39s%8d", "Accounts looked at", accounts);
    lines.emplace_back(line);
    std::snprintf(line, sizeof line, "%-39s%8d   Total of interest charged %12s", "Accounts charged", charged,
                  money(total).c_str());
    lines.emplace_back(line);
    std::snprintf(line, sizeof line, "%-39s%8d", "Accounts not charged", spared.total());
    lines.emplace_back(line);
    const std::pair<const char*, int32_t> reasons[] = {{"marked for no interest", spared.marked},
                                                       {"rate of 0", spared.rateZero},
                                                       {"charged within the last month", spared.recent},
                                                       {"balance under 1.00", spared.small},
                                                       {"layaway", spared.layaway},
                                                       {"no balance", spared.noBalance},
                                                       {"credit balance", spared.credit},
                                                       {"spared by hand", spared.byHand},
                                                       {"too large for the account", spared.tooLarge},
                                                       {"numbers not readable", spared.unreadable},
                                                       {"to check by hand", spared.checkByHand}};
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

std::string rateMonthAndYear(double rate) {
    return ratePercent(rate) + " a month, " + ratePercent(rate * 12) + " a year";
}

} // namespace interest
