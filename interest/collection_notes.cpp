#include "interest/collection_notes.h"

#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/text_file.h"

namespace interest {

using namespace common;

CollectionNotes readCollectionNotes() {
    CollectionNotes notes;
    if (fileExists("COLNOTES.dat")) {
        TextReader r("COLNOTES.dat");
        for (auto& n : notes) n = r.readLine();
    }
    return notes;
}

std::string shownNote(const CollectionNotes& notes, size_t k) { return notes[k].empty() ? "(no note)" : notes[k]; }

void writeCollectionNotes(const CollectionNotes& notes) {
    writeLines("colnotes.dat", std::vector<std::string>(notes.begin(), notes.end()));
}

} // namespace interest
