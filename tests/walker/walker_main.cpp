// walker: random walks over the programs' windows (Appraise's worksheet, Interest's window), each
// checked step by step; a failing walk is shrunk to the shortest script that still fails.
#include "tests/walker/interest_model.h"
#include "tests/walker/walker_core.h"
#include "tests/walker/worksheet_model.h"

int main(int argc, char** argv) {
    return walker::walkerMain(argc, argv, [](const QString& window) -> std::unique_ptr<walker::WalkModel> {
        if (window == QStringLiteral("worksheet")) return std::make_unique<walker::WorksheetModel>();
        if (window == QStringLiteral("interest")) return std::make_unique<walker::InterestModel>();
        return nullptr;
    });
}
