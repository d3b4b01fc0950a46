#include "platform/desktop_services.h"

#include "common/file_names.h"

#include "common/env.h"

namespace platform {

using namespace common;

namespace {
// The words of a command line as they are split off.
struct Words {
    std::vector<std::string> list;
    std::string cur;
    bool inWord = false;
    void add(char c) {
        cur += c;
        inWord = true;
    }
    void add(size_t n, char c) {
        cur.append(n, c);
        inWord = true;
    }
    // A quote starts a word, also an empty one.
    void open() { inWord = true; }
    void end() {
        if (inWord) list.push_back(cur);
        cur.clear();
        inWord = false;
    }
};

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The Microsoft C runtime's rules: 2n backslashes before a quote are n backslashes and the
// quote opens or closes; 2n+1 are n and a quote; "" inside quotes is a quote.
std::vector<std::string> splitWindows(const std::string& line) {
    Words w;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\') {
            size_t n = 0;
            while (i < line.size() && line[i] == '\\') ++n, ++i;
            const bool beforeQuote = i < line.size() && line[i] == '"';
            w.add(beforeQuote ? n / 2 : n, '\\');
            if (beforeQuote && n % 2) w.add('"');
            else --i; // the quote opens or closes, or the next letter is read next
        } else if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') w.add(line[++i]);
            else quoted = !quoted, w.open();
        } else if (!quoted && blank(c)) {
            w.end();
        } else {
            w.add(c);
        }
    }
    w.end();
    return w.list;
}

// A POSIX shell's rules, without expanding anything.
std::vector<std::string> splitShell(const std::string& line) {
    Words w;
    char quote = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        const bool escapes = i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\');
        if (quote == '\'') {
            if (c == '\'') quote = 0;
            else w.add(c);
        } else if (quote == '"') {
            if (c == '"') quote = 0;
            else w.add(c == '\\' && escapes ? line[++i] : c);
        } else if (c == '\'' || c == '"') {
            quote = c;
            w.open();
        } else if (c == '\\' && i + 1 < line.size()) {
            w.add(line[++i]);
        } else if (blank(c)) {
            w.end();
        } else {
            w.add(c);
        }
    }
    w.end();
    return w.list;
}
} // namespace

std::vector<std::string> splitCommandLine(const std::string& commandLine, CommandLineRules rules) {
    return rules == CommandLineRules::Windows ? splitWindows(commandLine) : splitShell(commandLine);
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

// The program of that name in a folder ("": the name as given), under any of its names; empty
// when there is none.
std::string programIn(const std::string& folder, const std::string& name) {
    for (const std::string& n : namesOf(name))
        if (const std::string path = folder.empty() ? n : folder + "/" + n; executable(path)) return path;
    return {};
}
} // namespace

std::string programInFolder(const std::string& name) {
    for (const std::string& n : namesOf(name)) {
        if (!fileExists(n)) continue;
        const std::string local = "./" + resolveName(n);
        if (executable(local)) return local;
    }
    return {};
}

std::string findProgram(const std::string& name, const std::string& besideFolder) {
    if (name.empty()) return {};
    if (name.find_first_of(kSystemRules == CommandLineRules::Windows ? "/\\:" : "/") != std::string::npos)
        return programIn("", name);
    if (std::string local = programInFolder(name); !local.empty()) return local;
    if (!besideFolder.empty())
        if (std::string beside = programIn(besideFolder, name); !beside.empty()) return beside;
    for (const std::string& dir : common::Env::current().programFolders())
        if (std::string found = programIn(dir, name); !found.empty()) return found;
    return {};
}

} // namespace platform
