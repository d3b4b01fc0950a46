#pragma once
#include "appraise/printing/layout_settings.h"

#include <string>
#include <vector>

namespace appraise {

// What a start of Appraise reads of the store's folder before the customer: the layout
// settings, and the notices the window shows afterwards, in order.
struct StartupSettings {
    LayoutSettings settings;
    std::vector<std::string> notices;
};

// Reads the settings, making what a first start needs: "align.fac" with its defaults when
// the file cannot be read, the "APPRAISE" folder, "DefontAp.dat". The alignment and the
// border size are read quietly (what cannot be read keeps its default); of the flag and font
// files, error 75 is passed over and any other error ends the reading with `out` as far as it
// got.
void loadStartupSettings(StartupSettings& out);

} // namespace appraise
