#pragma once
#include <string>

namespace bench {

// Records, in a file, every read, write and sync a posting run makes through the record files
// (the accounts, the month files the walks read, the new transactions, the changed accounts,
// the pointer, the journal), while the run posts in the current folder.
int recordPosting(const std::string& trace, const std::string& datebox, bool firstmon);

// The floor a posting run is measured against: the same reads and writes, of the same sizes at
// the same places of the same files (and "lastpost.dat", and the copy for an undo of the files
// the posting changes), each file opened once, the reads of a
// file merged into as few reads as the places allow, consecutive writes merged into one, and
// each written file made durable once. Returns the seconds the replay took (the trace is read
// before); a negative number when a file could not be used.
double replayFloor(const std::string& trace);

} // namespace bench
