#include "appraise/printing/alignment.h"
#include "common/trim_left_right_mid.h"

#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/file_names.h"
#include "common/run_error.h"
#include "common/text_file.h"

#include <charconv>
#include <functional>

namespace appraise {

using namespace common;

namespace {
struct AlignmentValue {
    const char* label;
    bool dots;
    const char* prompt;
};
constexpr AlignmentValue rows[13] = {
    {"left edge of store name: ", false, "left edge of store name: "},
    {"left edge of store address: ", false, "left edge of store address: "},
    {"left edge of store city: ", false, "left edge of store city: "},
    {"left edge of store phone: ", false, "left edge of store phone: "},
    {"top edge of store name: ", true, "top edge of store name: "},
    {"top edge of customer name: ", true, "top edge of customer name: "},
    {"top edge of appraisal text: ", true, "top edge if appraisal body: "},
    {"left margin: ", false, "left margin: "},
    {"top edge of closing: ", true, "top edge of closing: "},
    {"left margin of closing: ", true, "left margin of closing: "},
    {"top edge of signature block: ", true, "Top Edge of Signature Block: "},
    {"width of text: ", false, "Width of Text: "},
    {"left edge of signature block: ", false, "Left Margin of Signature Block: "},
};
} // namespace

bool hasAlignmentFile() { return fileExists("align.fac"); }

bool hasDefaultAlignment() { return fileExists("align.fa1"); }

void restoreDefaultAlignment() { copyFile("align.fa1", "align.fac"); }

void writeNewAlignmentFile() {
    writeLines("align.fac", std::vector<std::string>(defaultAlignmentLines().begin(), defaultAlignmentLines().end()));
}

std::string readAlignmentFile(LayoutSettings& s, int fillers) {
    std::string last;
    if (!fileExists("align.fac")) return last;
    TextReader r("align.fac");
    auto quiet = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const RunError&) {
        }
    };
    for (int i = 0; i < 12; ++i) quiet([&] { s.alignText[i] = r.readField(); });
    quiet([&] { s.align13 = cint(val(r.readField())); });
    for (int i = 0; i < fillers; ++i) quiet([&] { last = r.readField(); });
    return last;
}

void writeAlignmentFile(const LayoutSettings& s, const std::string& filler) {
    std::vector<std::string> lines(s.alignText.begin(), s.alignText.begin() + 12);
    lines.push_back(str(s.align13) + " ");
    for (int i = 0; i < 12; ++i) lines.push_back(filler);
    writeLines("align.fac", lines);
}

std::vector<QString> alignmentEditorLines(const LayoutSettings& s) {
    std::vector<QString> lines{QStringLiteral("                         Click any line to change it's setting")};
    for (int n = 0; n < 13; ++n) {
        const std::string value = n < 12 ? s.alignText[n] : std::to_string(s.align13);
        lines.push_back(
            QString::fromLatin1(rows[n].label) + fromAnsi(value) +
            (rows[n].dots ? QStringLiteral("     (given in dots)") : QStringLiteral("     (given in spaces)")));
    }
    for (const char* l :
         {"expansion", " ", "How far a SPACE will move the position depends on the ",
          "style of font and size of font that you have chosen.",
          "A larger number of spaces will move the item to the right.",
          "A smaller number of spaces will move the item to the left.", " ",
          "How far a DOT will move the position depends on the ", "resolution of your printer. (dots per inch)",
          "A larger number of dots will move the position further down.",
          "A smaller number of dots will move the position up.", " ",
          "Click this line to set all values back to default settings."})
        lines.push_back(QString::fromLatin1(l));
    return lines;
}

AlignmentRow alignmentRow(int row) {
    constexpr int values = 13, restoreRow = 26; // the heading, the values, 12 lines of explanation
    if (row == 0) return AlignmentRow::Heading;
    if (row >= 1 && row < values) return AlignmentRow::TextValue;
    if (row == values) return AlignmentRow::SignatureMargin;
    if (row == restoreRow) return AlignmentRow::RestoreDefaults;
    return AlignmentRow::Explanation;
}

QString alignmentPrompt(int n) { return QString::fromLatin1(rows[n - 1].prompt); }

std::optional<int16_t> signatureFactor(const std::string& answer) {
    const std::string t(trim(answer));
    int value = 0;
    const auto [end, ec] = std::from_chars(t.data() + (t.size() > 1 && t[0] == '+'), t.data() + t.size(), value);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<int16_t>(value);
}

} // namespace appraise
