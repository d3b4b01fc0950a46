#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace common {

// File names as the store's programs spell them, in the current folder. Names are matched
// without regard to letter case ("COLNOTES.dat" finds colnotes.dat), and "\" separates a
// sub-folder ("appraise\" finds APPRAISE). A name that matches nothing stays as spelled, so a
// new file is created under the name the program gives it.

// The path on disk for a program's file name.
std::string resolveName(std::string_view name);

// True when the name is an existing regular file.
bool fileExists(std::string_view name);

// The names (without folder) of the files matching a pattern whose last part may hold "?"
// (exactly one character) and "*" (any run), in name order.
std::vector<std::string> listMatching(std::string_view pattern);

// The same with each file's last modification and size, from one listing of the folder.
struct ListedFile {
    std::string name;
    int64_t modified = 0; // seconds since 1970
    int64_t size = 0;
};
std::vector<ListedFile> listMatchingWithTimes(std::string_view pattern);

// Copy, replacing the target; errors are run-time errors (53 for a missing source).
void copyFile(std::string_view from, std::string_view to);
// Delete a file; 53 when it does not exist.
void removeFile(std::string_view name);
// Make a folder; 75 when it already exists.
void makeFolder(std::string_view name);

// True when two names are equal without regard to ASCII letter case.
bool sameName(std::string_view a, std::string_view b);
// True when a name matches a "?" / "*" pattern without regard to letter case.
bool matchesPattern(std::string_view name, std::string_view pattern);

} // namespace common
