#pragma once
#include "appraise/documents/customer.h"
#include "appraise/printing/layout_settings.h"
#include "platform/platform.h"

#include <QImage>
#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace appraise {

// What the start of Appraise found, filled as it goes: a start that stops part way leaves what
// it reached.
struct AppraiseStart {
    LayoutSettings settings;
    // Another copy runs on this computer: the window closes.
    bool anotherCopy = false;
    // Today as the date box shows it (mm-dd-yy).
    std::optional<std::string> date;
    QImage logo;
    CustomerContext customer;
    // The list of the customer's earlier appraisals, with its first line.
    std::optional<std::vector<QString>> appraisalList;
    // "Appraisal for:" (or the store's heading) and the customer's four lines, CR between.
    std::optional<QString> customerCaption;
};

// The start of Appraise in the store's folder: the default alignment unpacked from Align.exe or
// restored, the layout settings loaded, the single-copy check, today's date, the logo, the
// customer the main program handed over and the earlier appraisals. Error 75 is passed over step
// by step; any other RunError stops the start (the user shown its notices first). Without a
// customer or an alignment the program ends.
void startAppraise(platform::Platform& p, AppraiseStart& start);

// Starts the suite's main program maximised; a failure is said, not raised.
void startMainProgram(platform::Platform& p);

} // namespace appraise
