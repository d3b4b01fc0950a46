#include "common/format_picture.h"

#include <algorithm>
#include <cstdint>

namespace common {

std::string formatPicture(Money value, std::string_view picture) {
    const auto point = picture.find('.');
    const std::string_view intPic = picture.substr(0, point);
    const std::string_view fracPic = point == std::string_view::npos ? std::string_view{} : picture.substr(point + 1);

    auto countPlaces = [](std::string_view p) {
        return static_cast<size_t>(std::count_if(p.begin(), p.end(), [](char c) { return c == '#' || c == '0'; }));
    };
    const size_t decimals = std::min<size_t>(countPlaces(fracPic), 4);
    // Required integer digits: from the first "0" of the integer part to its end.
    size_t minInt = 0;
    {
        const auto z = intPic.find('0');
        if (z != std::string_view::npos) minInt = countPlaces(intPic.substr(z));
    }
    // Required decimals: up to the last "0" of the fraction.
    size_t minFrac = 0;
    {
        const auto z = fracPic.rfind('0');
        if (z != std::string_view::npos) minFrac = countPlaces(fracPic.substr(0, z + 1));
    }

    const bool negative = value.ticks < 0;
    uint64_t mag = negative ? 0 - static_cast<uint64_t>(value.ticks) : static_cast<uint64_t>(value.ticks);
    uint64_t unit = 1;
    for (size_t i = decimals; i < 4; ++i) unit *= 10;
    // Half away from zero on the magnitude.
    uint64_t units = mag / unit + ((mag % unit) * 2 >= unit ? 1 : 0);
    uint64_t fracScale = 1;
    for (size_t i = 0; i < decimals; ++i) fracScale *= 10;
    const uint64_t whole = units / fracScale;
    const uint64_t frac = units % fracScale;

    std::string intDigits = whole > 0 ? std::to_string(whole) : "";
    if (intDigits.size() < minInt) intDigits.insert(0, minInt - intDigits.size(), '0');
    std::string fracDigits;
    if (decimals > 0) {
        fracDigits = std::to_string(frac);
        fracDigits.insert(0, decimals - fracDigits.size(), '0');
        while (fracDigits.size() > minFrac && fracDigits.back() == '0') fracDigits.pop_back();
    }

    std::string out = intDigits;
    if (point != std::string_view::npos) out += "." + fracDigits;
    if (negative && units > 0) out = "-" + out;
    return out;
}

} // namespace common
