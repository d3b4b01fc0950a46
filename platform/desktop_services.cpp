#include "platform/desktop_services.h"

#include "common/file_names.h"

#include "common/env.h"

namespace platform {

using namespace common;

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
    std::vector<std::string> words;
    std::string cur;
    bool inWord = false;
    char quote = 0;
    for (size_t i = 0; i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        if (quote == '\'') {
            if (c == '\'') quote = 0;
            else cur += c;
        } else if (quote == '"') {
            if (c == '"') quote = 0;
            else if (c == '\\' && i + 1 < commandLine.size() &&
                     (commandLine[i + 1] == '"' || commandLine[i + 1] == '\\'))
                cur += commandLine[++i];
            else cur += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == '\\' && i + 1 < commandLine.size()) {
            cur += commandLine[++i];
            inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (inWord) words.push_back(cur);
            cur.clear();
            inWord = false;
        } else {
            cur += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(cur);
    return words;
}

namespace {
bool executable(const std::string& path) { return common::Env::current().isProgram(path); }

std::string withoutExe(const std::string& name) {
    if (name.size() > 4 && sameName(name.substr(name.size() - 4), ".exe")) return name.substr(0, name.size() - 4);
    return name;
}
} // namespace

std::string findProgram(const std::string& name, const std::string& besideFolder) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return executable(name) ? name : std::string{};
    if (fileExists(name)) {
        const std::string local = "./" + resolveName(name);
        if (executable(local)) return local;
    }
    const std::string bare = withoutExe(name);
    if (!besideFolder.empty()) {
        for (const std::string& n : {name, bare}) {
            if (executable(besideFolder + "/" + n)) return besideFolder + "/" + n;
        }
    }
    for (const std::string& dir : common::Env::current().programFolders())
        for (const std::string& n : {name, bare})
            if (executable(dir + "/" + n)) return dir + "/" + n;
    return {};
}

} // namespace platform
