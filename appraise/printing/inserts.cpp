#include "appraise/printing/inserts.h"

#include "common/file_names.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"

namespace appraise {

using namespace common;

const std::array<Insert, 7>& inserts() {
    static const std::array<Insert, 7> list = {{
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
         "Intended use: {purpose}. This appraisal is made for the customer named above and for this use only.\r\n"
         "Type of value: {type of value}.\r\nEffective date: {effective date}     Report date: {report date}"},
        {"Purposes", purposesFile,
         "insurance replacement; retail replacement value\r\nestate; fair market value\r\nresale; fair market "
         "value\r\ndonation; fair market value\r\ndivision of property; fair market value"},
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

std::vector<Purpose> purposes() {
    std::vector<Purpose> list;
    const std::string text = insertText(inserts()[6]);
    std::vector<std::string> lines;
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = text.find_first_of("\r\n", from);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(from, end - from));
        from = end + ((text.compare(end, 2, "\r\n") == 0) ? 2 : 1);
    }
    for (const std::string& line : lines) {
        const std::string_view t = trim(line);
        if (t.empty()) continue;
        const size_t semi = t.find(';');
        if (trim(t.substr(0, semi)).empty()) continue; // a type of value without its use
        list.push_back(Purpose{std::string(trim(t.substr(0, semi))),
                               semi == std::string_view::npos ? std::string() : std::string(trim(t.substr(semi + 1)))});
    }
    if (list.empty()) list.push_back(Purpose{"insurance replacement", "retail replacement value"});
    return list;
}

std::vector<std::string> purposeLines(const Purpose& purpose, const std::string& effectiveDate,
                                      const std::string& reportDate) {
    auto lines = passageLines(purposeFile);
    if (!lines) return {};
    auto fill = [](std::string& line, const std::string& mark, const std::string& value) {
        for (size_t at = line.find(mark); at != std::string::npos; at = line.find(mark, at + value.size()))
            line.replace(at, mark.size(), value);
    };
    for (std::string& line : *lines) {
        fill(line, "{purpose}", purpose.use);
        fill(line, "{type of value}", purpose.value);
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
