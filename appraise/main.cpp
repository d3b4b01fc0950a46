#include "appraise/worksheet_window.h"
#include "platform/qt/program_start.h"
#include "platform/widgets/run_form_window.h"

int main(int argc, char** argv) {
    using namespace platform;
    const ProgramIdentity appraise{"appraise", QStringLiteral("Appraise"),
                                   "The appraisal worksheet, for the customer that the store's main program\n"
                                   "handed over in apptrans.dat.",
                                   QChar('A'), QColor(0x1f, 0x6f, 0xb5)};
    return runProgram(argc, argv, appraise,
                      [] { return runFormWindow<appraise::WorksheetWindow>(QStringLiteral("Appraise")); });
}
