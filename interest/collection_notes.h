#pragma once
#include <array>
#include <string>

namespace interest {

// The nine collection notes printed on statements by credit rating.
using CollectionNotes = std::array<std::string, 9>;

// "colnotes.dat" read line by line (each line whole, commas and quotes included); nine empty
// notes when there is no file. A note never written is empty: the main program prints nothing
// for it, where a placeholder would be printed on the statements as if it were a note.
CollectionNotes readCollectionNotes();
// What the list shows for a note: the note, or "(no note)" for one empty (as it is saved: the
// statements print nothing for it).
std::string shownNote(const CollectionNotes& notes, size_t k);
// Writes "colnotes.dat" anew: nine lines, each ended by CR LF.
void writeCollectionNotes(const CollectionNotes& notes);

} // namespace interest
