#include "interest/use_cases/open_notes.h"

#include "common/cp1252.h"
#include "common/file_names.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "interest/step_label.h"

namespace interest {

std::optional<CollectionNotes> openNotes(platform::Platform& p) {
    p.messages.show(QStringLiteral(
        "These notes will appear on each statement depending on the credit rating of the customer at the time of the "
        "statement.  Remember that a 1 or less will get note number one and that a 1 represents a current account. "
        "(Not an account that is behind one month)"));
    StepLabel steplabel;
    try {
        if (common::fileExists("COLNOTES.dat")) steplabel = Step::NotesRead;
        return readCollectionNotes();
    } catch (const common::RunError&) {
        p.messages.show(common::fromAnsi(steplabel.text()));
        return std::nullopt;
    }
}

} // namespace interest
