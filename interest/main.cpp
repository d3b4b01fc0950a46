#include "interest/interest_window.h"
#include "platform/qt/program_start.h"
#include "platform/widgets/run_form_window.h"

int main(int argc, char** argv) {
    using namespace platform;
    const ProgramIdentity interest{"interest", QStringLiteral("Interest"),
                                   "Posts the monthly finance charges to the store's charge accounts.", QChar('I'),
                                   QColor(0x2e, 0x8b, 0x57)};
    return runProgram(argc, argv, interest,
                      [] { return runFormWindow<interest::InterestWindow>(QStringLiteral("Interest")); });
}
