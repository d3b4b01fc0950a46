#include "platform/desktop_services.h"

#include "common/file_names.h"

#include "common/env.h"

namespace platform {

using namespace common;

namespace {
// The Microsoft C runtime's rules: 2n backslashes before a quote are n backslashes and the
// quote opens or closes; 2n+1 are n and a quote; "" inside quotes is a quote.
std::vector<std::string> splitWindows(const std::string& commandLine) {
    std::vector<std::string> words;
    std::string cur;
    bool inWord = false;
    bool quoted = false;
    for (size_t i = 0; i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        if (c == '\\') {
            size_t n = 0;
            while (i < commandLine.size() && commandLine[i] == '\\') ++n, ++i;
            if (i < commandLine.size() && commandLine[i] == '"') {
                cur.append(n / 2, '\\');
                if (n % 2) cur += '"';
                else --i; // the quote opens or closes
            } else {
                cur.append(n, '\\');
                --i;
            }
            inWord = true;
        } else if (c == '"') {
            if (quoted && i + 1 < commandLine.size() && commandLine[i + 1] == '"') {
                cur += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
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
} // namespace

std::vector<std::string> splitCommandLine(const std::string& commandLine, CommandLineRules rules) {
    if (rules == CommandLineRules::Windows) return splitWindows(commandLine);
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

bool hasExe(const std::string& name) { return name.size() > 4 && sameName(name.substr(name.size() - 4), ".exe"); }

// The names a program may have: as given, without ".exe" (a POSIX program) and with it (a
// Windows one); each system starts only its own kind.
std::vector<std::string> namesOf(const std::string& name) {
    if (hasExe(name)) return {name, name.substr(0, name.size() - 4)};
    return {name, name + ".exe"};
}
} // namespace

std::string findProgram(const std::string& name, const std::string& besideFolder) {
    if (name.empty()) return {};
    if (name.find_first_of(kSystemRules == CommandLineRules::Windows ? "/\\:" : "/") != std::string::npos) {
        for (const std::string& n : namesOf(name))
            if (executable(n)) return n;
        return {};
    }
    for (const std::string& n : namesOf(name)) {
        if (!fileExists(n)) continue;
        const std::string local = "./" + resolveName(n);
        if (executable(local)) return local;
    }
    if (!besideFolder.empty()) {
        for (const std::string& n : namesOf(name))
            if (executable(besideFolder + "/" + n)) return besideFolder + "/" + n;
    }
    for (const std::string& dir : common::Env::current().programFolders())
        for (const std::string& n : namesOf(name))
            if (executable(dir + "/" + n)) return dir + "/" + n;
    return {};
}

} // namespace platform
