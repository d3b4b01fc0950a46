#include "appraise/printing/logo_settings.h"

#include "common/file_names.h"
#include "common/text_file.h"

namespace appraise {

using namespace common;

namespace {
const char* fileOf(HeadingFlag flag) {
    switch (flag) {
    case HeadingFlag::NoAppraisalLogo: return "aplogoNO.dat";
    case HeadingFlag::NameInWording: return "nologowc.dat";
    case HeadingFlag::NoHeading: return "logono.dat";
    }
    return "";
}
constexpr const char* logoSizeFile = "logosize.dat";
} // namespace

bool isSet(HeadingFlag flag) { return fileExists(fileOf(flag)); }

void setFlag(HeadingFlag flag, bool on) {
    if (on) writeLines(fileOf(flag), {"N"});
    else if (isSet(flag)) removeFile(fileOf(flag));
}

bool hasLogoFactor() { return fileExists(logoSizeFile); }

Money readLogoFactor() { return Money::fromText(TextReader(logoSizeFile).readField()); }

} // namespace appraise
