#include "interest/posting_flags.h"

#include "common/file_names.h"
#include "common/text_file.h"

namespace interest {

using namespace common;

namespace {
struct FlagFile {
    const char* name;
    const char* line;
};
FlagFile fileOf(PostingFlag flag) {
    switch (flag) {
    case PostingFlag::NoInterestOnLayaways: return {"NoIntLW.dat", "No Interest on Layaways"};
    case PostingFlag::FirstMonthFree: return {"firstmon.dat", "Y"};
    case PostingFlag::Wholesale: return {"wholesal.dat", "W"};
    }
    return {"", ""};
}
} // namespace

bool isSet(PostingFlag flag) { return fileExists(fileOf(flag).name); }

void setFlag(PostingFlag flag, bool on) {
    const FlagFile f = fileOf(flag);
    if (on) writeLines(f.name, {f.line});
    else if (fileExists(f.name)) removeFile(f.name);
}

} // namespace interest
