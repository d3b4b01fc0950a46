#include "appraise/printing/inserts.h"

#include "common/file_names.h"
#include "common/text_file.h"

namespace appraise {

using namespace common;

const std::array<Insert, 6>& inserts() {
    static const std::array<Insert, 6> list = {{
        {"Type Line", typeLineFile, "Appraisal for"},
        {"Opening", openingFile, "I have this day inspected and graded the following:"},
        {"Value Line", valueLineFile, "Replacement Value:"},
        {"Signature", signatureFile, "               Pat Examiner\r\n               Certified BS"},
        {"Closing", closingFile,
         "The following instruments were used to grade and identify the above: 10X loupe, binocular microscope with "
         "dark-field illumination,  Refractometer, Dichroscope, Micrometer.  All values are based on my best "
         "judgement as retail replacement prices. No responsibility is assumed for any action taken on the basis of "
         "this appraisal. This is not an offer to buy."},
        {"Purpose", purposeFile,
         "Intended use: insurance replacement. This appraisal states the cost of replacing the items described "
         "with items of like kind and quality, for the customer named above and the insurer of the items, and for "
         "no other use.\r\nType of value: retail replacement value.\r\nEffective date: {effective date}     Report "
         "date: {report date}"},
    }};
    return list;
}

const std::array<const char*, 9>& insertMenu() {
    static const std::array<const char*, 9> menu = {"Type Line", "Opening",      "Value Line",  "Signature", "Closing",
                                                    "Alignment", "Default Font", "Border Size", "Store Logo"};
    return menu;
}

std::string insertText(const Insert& insert) {
    return fileExists(insert.file) ? readLinesCrLf(insert.file) : insert.defaultText;
}

bool isPassageFile(const std::string& file) {
    for (const Insert& ins : inserts())
        if (file == ins.file) return true;
    return false;
}

std::optional<std::vector<std::string>> passageLines(const char* file) {
    if (!fileExists(file)) return std::nullopt;
    return readAllLines(file);
}

std::vector<std::string> purposeLines(const std::string& effectiveDate, const std::string& reportDate) {
    auto lines = passageLines(purposeFile);
    if (!lines) return {};
    auto fill = [](std::string& line, const std::string& mark, const std::string& value) {
        for (size_t at = line.find(mark); at != std::string::npos; at = line.find(mark, at + value.size()))
            line.replace(at, mark.size(), value);
    };
    for (std::string& line : *lines) {
        fill(line, "{effective date}", effectiveDate);
        fill(line, "{report date}", reportDate);
    }
    return *lines;
}

std::optional<std::string> typeLine() {
    if (!fileExists(typeLineFile)) return std::nullopt;
    return TextReader(typeLineFile).readLine();
}

} // namespace appraise
