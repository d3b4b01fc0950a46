#pragma once
#include <array>
#include <string>

namespace interest {

// The nine collection notes printed on statements by credit rating.
using CollectionNotes = std::array<std::string, 9>;

// "colnotes.dat" read line by line (each line whole, commas and quotes included), or the
// defaults "Note number  1" to "Note number  9" when there is no file.
CollectionNotes readCollectionNotes();
// Writes "colnotes.dat" anew: nine lines, each ended by CR LF.
void writeCollectionNotes(const CollectionNotes& notes);

} // namespace interest
