#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace common {

// Reads a text file the classic way: by free-format field (Input #) or by whole line
// (Line Input #). The file is read whole under a shared lock; a missing file is error 53.
// Lines end at CR LF, CR or LF; a Ctrl-Z ends the text.
class TextReader {
  public:
    explicit TextReader(std::string_view name);
    // Over bytes already in memory.
    static TextReader fromBytes(std::string bytes);

    // A field ends at a comma or the line end unless it is enclosed in double quotes;
    // surrounding blanks are dropped. Past the end is error 62.
    std::string readField();
    // A whole line without its line end. Past the end is error 62.
    std::string readLine();
    // True when nothing is left to read.
    bool atEnd() const { return pos_ >= text_.size(); }

  private:
    TextReader() = default;
    void skipLineEnd();
    std::string text_;
    size_t pos_ = 0;
};

// A text file's lines, without their line ends (a missing file is error 53).
std::vector<std::string> readAllLines(std::string_view name);

// A text file's lines, each followed by CR LF (a missing file is error 53).
std::string readLinesCrLf(std::string_view name);

// Writes the file anew with these lines, each ended by CR LF. The new content goes to a
// temporary file first and replaces the old one only when complete; a file another holder
// has locked is error 70 and is left as it was.
void writeLines(std::string_view name, const std::vector<std::string>& lines);
// The same with the exact bytes given. While the new content is written, its temporary file
// (the name + ".~new") is held; an error or a signal that ends the program removes it.
void writeBytes(std::string_view name, std::string_view bytes);
constexpr const char* temporarySuffix = ".~new";

// Removes the temporary files of replaces that a stopped program left in the folder (those that
// nobody holds).
void clearStaleTemporaries();

// The lines joined, each ended by CR LF.
std::string joinLines(const std::vector<std::string>& lines);

} // namespace common
