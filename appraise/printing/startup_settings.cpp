#include "appraise/printing/startup_settings.h"

#include "appraise/printing/alignment.h"
#include "appraise/printing/border_size.h"
#include "appraise/printing/default_font.h"
#include "appraise/printing/logo_settings.h"
#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/run_error.h"

#include <functional>

namespace appraise {

using namespace common;

namespace {
// Every error passed over.
void quiet(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const RunError&) {
    }
}

// Error 75 passed over; any other ends the reading.
void step(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const RunError& e) {
        if (e.number() != err::PathFileAccess) throw;
    }
}
} // namespace

void loadStartupSettings(StartupSettings& out) {
    LayoutSettings& s = out.settings;
    for (auto& t : s.alignText) t.clear();
    for (int i = 0; i < 5; ++i) s.alignText[i] = str(1);
    s.alignText[5] = str(450);
    s.alignText[8] = str(1);
    if (hasAlignmentFile()) quiet([&] { readAlignmentFile(s, 12); });
    else quiet([] { writeNewAlignmentFile(); });
    if (hasBorderSize()) {
        quiet([&] { s.bordersize = readBorderSize(); });
    } else {
        out.notices.push_back("You will need to set the size of the border for the printed appraisal and other "
                              "layout features for your particular printer by clicking on the EDIT INSERTS button.");
    }
    quiet([] { makeFolder("APPRAISE"); });

    step([&] {
        if (isSet(HeadingFlag::NoAppraisalLogo)) s.aplogoflag = 'N';
    });
    step([] {
        if (!hasDefaultFont()) writeFirstDefaultFont();
    });
    step([&] {
        if (isSet(HeadingFlag::NameInWording)) s.nologoflag = 'N';
    });
    step([&] {
        if (hasLogoFactor()) s.logofactor = readLogoFactor();
    });
}

} // namespace appraise
