#include "common/text_file.h"
#include "common/trim_left_right_mid.h"

#include "common/env.h"
#include "common/file_names.h"
#include "common/locked_file.h"
#include "common/run_error.h"

#include <optional>

namespace common {

namespace {
bool lineEnd(char c) { return c == '\r' || c == '\n'; }
bool blank(char c) { return c == ' ' || c == '\t'; }
} // namespace

TextReader::TextReader(std::string_view name) {
    if (!fileExists(name)) throw RunError(err::FileNotFound, std::string(name));
    LockedFile f(name, Access::Read);
    text_ = f.readAll();
    if (auto z = text_.find('\x1a'); z != std::string::npos) text_.resize(z);
}

TextReader TextReader::fromBytes(std::string bytes) {
    TextReader r;
    r.text_ = std::move(bytes);
    if (auto z = r.text_.find('\x1a'); z != std::string::npos) r.text_.resize(z);
    return r;
}

void TextReader::skipLineEnd() {
    if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
}

std::string TextReader::readLine() {
    if (atEnd()) throw RunError(err::PastEnd);
    const size_t start = pos_;
    while (pos_ < text_.size() && !lineEnd(text_[pos_])) ++pos_;
    std::string line = text_.substr(start, pos_ - start);
    skipLineEnd();
    return line;
}

std::string TextReader::readField() {
    if (atEnd()) throw RunError(err::PastEnd);
    while (pos_ < text_.size() && blank(text_[pos_])) ++pos_;
    std::string field;
    if (pos_ < text_.size() && text_[pos_] == '"') {
        ++pos_;
        const size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != '"') ++pos_;
        field = text_.substr(start, pos_ - start);
        if (pos_ < text_.size()) ++pos_; // closing quote
        // Whatever follows the quote up to the delimiter is passed over.
        while (pos_ < text_.size() && text_[pos_] != ',' && !lineEnd(text_[pos_])) ++pos_;
    } else {
        const size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ',' && !lineEnd(text_[pos_])) ++pos_;
        field = std::string(rtrim(std::string_view(text_).substr(start, pos_ - start)));
        while (!field.empty() && field.back() == '\t') field.pop_back();
    }
    if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
    } else {
        skipLineEnd();
    }
    return field;
}

std::vector<std::string> readAllLines(std::string_view name) {
    TextReader r(name);
    std::vector<std::string> lines;
    while (!r.atEnd()) lines.push_back(r.readLine());
    return lines;
}

std::string readLinesCrLf(std::string_view name) {
    std::string text;
    for (const auto& line : readAllLines(name)) text += line + "\r\n";
    return text;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\r\n";
    return s;
}

void writeLines(std::string_view name, const std::vector<std::string>& lines) { writeBytes(name, joinLines(lines)); }

void writeBytes(std::string_view name, std::string_view bytes) {
    const std::string path = resolveName(name);
    if (path.empty()) throw RunError(err::BadFileName, std::string(name));
    Env& env = Env::current();
    std::optional<LockedFile> held;
    if (const PathInfo there = env.info(path); there.exists) {
        if (there.folder) throw RunError(err::PathFileAccess, std::string(name));
        // Refuse while another holder has the file; hold it ourselves until it is replaced.
        held.emplace(name, Access::ReadWrite);
        // Where the system replaces only a closed file, let go at the last moment: a holder
        // that comes in between makes the replace fail as held elsewhere, and nothing changes.
        if (env.replacesOnlyClosedFiles()) held.reset();
    }
    env.replace(path, bytes, temporarySuffix, name);
}

void clearStaleTemporaries() {
    // Only those that nobody holds: a replace under way elsewhere holds its file.
    for (const std::string& name : listMatching(std::string("*") + temporarySuffix))
        Env::current().removeUnlessHeld(resolveName(name));
}

} // namespace common
