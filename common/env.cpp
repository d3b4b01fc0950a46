#include "common/env.h"

#include "common/cp1252.h"
#include "common/folder_snapshot.h"

#include <QSysInfo>

namespace common {

namespace {
Env* installed = nullptr;

std::string shown(std::string_view shownAs, const std::string& path) {
    return shownAs.empty() ? path : std::string(shownAs);
}
} // namespace

std::string Env::whoIsHere() {
    QString user = qEnvironmentVariable("USERNAME");
    if (user.isEmpty()) user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = QStringLiteral("someone");
    const QString host = QSysInfo::machineHostName();
    return toAnsi(host.isEmpty() ? user : user + QStringLiteral(" on ") + host);
}

Env& Env::current() { return installed ? *installed : systemEnv(); }

Env* Env::install(Env* env) {
    Env* before = installed;
    installed = env;
    folderChanged(); // another Env, another folder
    return before;
}

std::unique_ptr<EnvFile> Env::open(const std::string& path, bool write, FileLock lock, std::string_view shownAs) {
    // Opened for writing, a missing file is created: the folder changes. One that is there
    // already leaves the folder as it was.
    if (write && !info(path).exists) folderChanged();
    return doOpen(path, write, lock, shown(shownAs, path));
}

void Env::replace(const std::string& path, std::string_view bytes, std::string_view temporarySuffix,
                  std::string_view shownAs) {
    folderChanged();
    doReplace(path, bytes, path + std::string(temporarySuffix), shown(shownAs, path));
    folderChanged();
}

void Env::remove(const std::string& path, std::string_view shownAs) {
    doRemove(path, shown(shownAs, path));
    folderChanged();
}

bool Env::removeUnlessHeld(const std::string& path) {
    const bool removed = doRemoveUnlessHeld(path);
    if (removed) folderChanged();
    return removed;
}

void Env::makeFolder(const std::string& path, std::string_view shownAs) {
    doMakeFolder(path, shown(shownAs, path)); // a folder there already is an error: nothing changed
    folderChanged();
}

void Env::copy(const std::string& from, const std::string& to, std::string_view shownAs) {
    folderChanged();
    doCopy(from, to, shown(shownAs, to));
}

bool Env::rename(const std::string& from, const std::string& to) {
    const bool renamed = doRename(from, to);
    folderChanged();
    return renamed;
}

bool Env::removeTree(const std::string& path) {
    const bool removed = doRemoveTree(path);
    folderChanged();
    return removed;
}

} // namespace common
