#include "appraise/worksheet/measure_text.h"
#include "common/trim_left_right_mid.h"

#include <algorithm>
#include <cctype>

namespace appraise {

using namespace common;

namespace {
struct MeasureWords {
    const char* what;
    const char* example;
};

MeasureWords wordsFor(Measure kind) {
    switch (kind) {
    case Measure::Carat: return {"a carat weight", "1.25"};
    case Measure::Quantity: return {"a quantity", "2"};
    case Measure::Weight: return {"a weight", "3.2"};
    case Measure::Millimetres: return {"a measurement", "6.5"};
    }
    return {"a number", "1"};
}

// Digits with at most one decimal separator, and at least one digit.
std::optional<std::string> plainNumber(std::string_view t) {
    std::string out;
    bool point = false, digit = false;
    for (char c : t) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digit = true;
            out += c;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
            out += '.';
        } else {
            return std::nullopt;
        }
    }
    if (!digit) return std::nullopt;
    return out;
}

bool isWhole(const std::string& n) {
    const auto dot = n.find('.');
    return dot == std::string::npos ||
           std::all_of(n.begin() + static_cast<long>(dot) + 1, n.end(), [](char c) { return c == '0'; });
}
} // namespace

std::optional<std::string> readMeasure(std::string_view typed, Measure kind, size_t width) {
    const std::string_view t = trim(typed);
    if (t.empty()) return std::string();
    auto n = plainNumber(t);
    if (!n) return std::nullopt;
    if (kind == Measure::Quantity && !isWhole(*n)) return std::nullopt;
    if (n->size() > width) return std::nullopt;
    return n;
}

std::string measureRefusal(std::string_view typed, Measure kind, size_t width) {
    const std::string t(trim(typed));
    const MeasureWords w = wordsFor(kind);
    const auto n = plainNumber(t);
    if (n && n->size() > width && (kind != Measure::Quantity || isWhole(*n)))
        return "\"" + t + "\" is too long: " + w.what + " has room for " + std::to_string(width) + " characters.";
    return "\"" + t + "\" is not " + w.what + ". Type it in digits, for example " + w.example + ".";
}

} // namespace appraise
