#include "appraise/printing/default_font.h"

#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"

namespace appraise {

using namespace common;

namespace {
constexpr const char* fontFile = "DefontAp.dat";

bool flagOf(const std::string& line) {
    const std::string t(trim(line));
    if (sameName(t, "true") || sameName(t, "#TRUE#")) return true;
    if (sameName(t, "false") || sameName(t, "#FALSE#")) return false;
    return cdbl(t) != 0;
}
} // namespace

bool hasDefaultFont() { return fileExists(fontFile); }

DefaultFont readDefaultFont() {
    TextReader r(fontFile);
    DefaultFont f;
    f.name = r.readLine();
    f.size = cdbl(r.readLine());
    f.bold = flagOf(r.readLine());
    f.italic = flagOf(r.readLine());
    return f;
}

void writeDefaultFont(const DefaultFont& f) {
    writeLines(fontFile, {f.name, str(f.size) + " ", f.bold ? "True" : "False", f.italic ? "True" : "False"});
}

void writeFirstDefaultFont() { writeLines(fontFile, {"Times New Roman", "12", "1", "1"}); }

void eraseDefaultFont() {
    if (hasDefaultFont()) removeFile(fontFile);
}

} // namespace appraise
