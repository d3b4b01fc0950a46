#include "common/file_names.h"

#include "common/run_error.h"

#include <QFileInfo>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

namespace fs = std::filesystem;

namespace {
char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::vector<std::string> splitParts(std::string_view name) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : name) {
        if (c == '\\' || c == '/') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

std::vector<std::string> entriesOf(const std::string& dir) {
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(std::move(n));
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

std::string join(const std::string& dir, const std::string& part) { return dir.empty() ? part : dir + "/" + part; }

// The folder part of a name, resolved, and its last part as given.
std::pair<std::string, std::string> splitFolder(std::string_view name) {
    auto parts = splitParts(name);
    if (parts.empty()) return {"", ""};
    std::string last = parts.back();
    parts.pop_back();
    std::string dir;
    for (const auto& p : parts) dir = join(dir, p);
    return {dir.empty() ? "" : resolveName(dir), last};
}

bool matchAt(std::string_view n, std::string_view p) {
    if (p.empty()) return n.empty();
    if (p[0] == '*') {
        for (size_t k = 0; k <= n.size(); ++k)
            if (matchAt(n.substr(k), p.substr(1))) return true;
        return false;
    }
    if (n.empty()) return false;
    if (p[0] != '?' && lower(p[0]) != lower(n[0])) return false;
    return matchAt(n.substr(1), p.substr(1));
}
} // namespace

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool matchesPattern(std::string_view name, std::string_view pattern) { return matchAt(name, pattern); }

std::string resolveName(std::string_view name) {
    const auto parts = splitParts(name);
    std::string path;
    for (const auto& part : parts) {
        std::string candidate = join(path, part);
        struct stat st;
        if (::stat(candidate.c_str(), &st) != 0) {
            for (const auto& e : entriesOf(path)) {
                if (sameName(e, part)) {
                    candidate = join(path, e);
                    break;
                }
            }
        }
        path = candidate;
    }
    return path;
}

bool fileExists(std::string_view name) {
    if (name.empty()) return false;
    struct stat st;
    return ::stat(resolveName(name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> listMatching(std::string_view pattern) {
    const auto [dir, filePattern] = splitFolder(pattern);
    std::vector<std::string> out;
    for (const auto& e : entriesOf(dir)) {
        struct stat st;
        if (matchesPattern(e, filePattern) && ::stat(join(dir, e).c_str(), &st) == 0 && S_ISREG(st.st_mode))
            out.push_back(e);
    }
    return out;
}

void copyFile(std::string_view from, std::string_view to) {
    const std::string src = resolveName(from);
    if (!fileExists(from)) throw RunError(err::FileNotFound, std::string(from));
    std::error_code ec;
    fs::copy_file(src, resolveName(to), fs::copy_options::overwrite_existing, ec);
    if (ec) throw RunError(errorFromErrno(ec.value()), std::string(to));
}

void removeFile(std::string_view name) {
    if (!fileExists(name)) throw RunError(err::FileNotFound, std::string(name));
    if (::unlink(resolveName(name).c_str()) != 0) throwErrno(errno, std::string(name));
}

void makeFolder(std::string_view name) {
    const std::string path = resolveName(name);
    if (::mkdir(path.c_str(), 0777) != 0) {
        if (errno == EEXIST) throw RunError(err::PathFileAccess, std::string(name));
        throwErrno(errno, std::string(name));
    }
}

QDateTime modificationTime(std::string_view name) {
    if (!fileExists(name)) throw RunError(err::FileNotFound, std::string(name));
    return QFileInfo(QString::fromStdString(resolveName(name))).lastModified();
}

} // namespace common
