#include "interest/posting_backup.h"
#include "common/trim_left_right_mid.h"
#include "store/account_record.h"

#include "common/env.h"
#include "common/file_names.h"
#include "common/locked_file.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "interest/posting_journal.h"

#include <algorithm>

namespace interest {

using namespace common;

void FileState::add(std::string_view bytes) {
    size_ += static_cast<int64_t>(bytes.size());
    while (!bytes.empty()) {
        const size_t n = std::min(bytes.size(), pieceSize - inPiece_);
        piece_.add(bytes.substr(0, n));
        inPiece_ += n;
        bytes.remove_prefix(n);
        if (inPiece_ == pieceSize) {
            folded_ = folded_ * 1099511628211ULL ^ piece_.value();
            piece_ = Fingerprint{};
            inPiece_ = 0;
        }
    }
}

std::string FileState::text() const {
    const uint64_t folded = inPiece_ > 0 ? folded_ * 1099511628211ULL ^ piece_.value() : folded_;
    return std::to_string(size_) + " " + std::to_string(folded);
}

namespace {
std::string inside(const std::string& backup, const std::string& name) {
    return std::string(PostingBackup::folder) + "\\" + backup + "\\" + name;
}

// What a file holds, as a line of the seal: its size and fingerprint, or "missing". Read in
// pieces, so that a large account file costs no more memory than a piece.
std::string stateOf(const std::string& name) {
    if (!fileExists(name)) return "missing";
    const LockedFile file(name, Access::Read);
    const int64_t size = file.size();
    std::string piece(1 << 20, '\0');
    FileState state;
    for (int64_t at = 0; at < size; at += static_cast<int64_t>(piece.size())) {
        piece.resize(file.readAt(at, piece.data(), piece.size()));
        state.add(piece);
        piece.resize(1 << 20);
    }
    return state.text();
}

std::vector<std::string> backups() {
    std::vector<std::string> names;
    const std::string dir = resolveName(PostingBackup::folder);
    for (const FolderEntry& e : Env::current().list(dir.empty() ? PostingBackup::folder : dir))
        if (e.folder) names.push_back(e.name);
    // In the order they were taken: by day, then by number.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const auto key = [](const std::string& n) {
            const size_t dash = n.find('-');
            return std::make_pair(n.substr(0, dash),
                                  std::atoi(n.c_str() + (dash == std::string::npos ? n.size() : dash + 1)));
        };
        return key(a) < key(b);
    });
    return names;
}
} // namespace

PostingBackup::Taking PostingBackup::begin(const std::vector<std::string>& files, const Clock& clock) {
    if (!Env::current().info(resolveName(folder)).folder) makeFolder(folder);
    const std::string day = clock.today().toString(QStringLiteral("yyyyMMdd")).toStdString();
    int n = 1;
    for (const std::string& b : backups())
        if (b.rfind(day + "-", 0) == 0) n = std::max(n, std::atoi(b.c_str() + day.size() + 1) + 1);
    Taking t;
    t.name = day + "-" + std::to_string(n);
    makeFolder(std::string(folder) + "\\" + t.name);
    for (const std::string& f : files) {
        const bool exists = fileExists(f);
        t.list.push_back(f + (exists ? "" : " missing"));
        if (exists) t.copies.push_back({resolveName(f), resolveName(inside(t.name, f)), inside(t.name, f)});
    }
    return t;
}

PostingBackup::CopyFailure PostingBackup::copy(const Taking& t) {
    // Names were resolved when the backup was begun: nothing shared is touched here.
    for (const Taking::Copy& c : t.copies) {
        try {
            Env::current().copy(c.from, c.to, c.name);
        } catch (const RunError& e) {
            return {e};
        }
    }
    return {};
}

void PostingBackup::complete(const Taking& t, const CopyFailure& failure) {
    if (failure.error) throw *failure.error;
    writeLines(inside(t.name, "files.lst"), t.list);
}

void PostingBackup::discard(const std::string& backup) {
    // One that cannot be removed stays, unsealed.
    Env::current().removeTree(resolveName(std::string(folder) + "\\" + backup));
}

std::optional<std::string> PostingBackup::newest() {
    const auto all = backups();
    if (all.empty()) return std::nullopt;
    return all.back();
}

bool PostingBackup::sealed(const std::string& backup) { return fileExists(inside(backup, "after.lst")); }

void PostingBackup::noteAccounts(const std::string& backup, const std::vector<uint64_t>& accountHashes) {
    std::string bytes;
    bytes.reserve(accountHashes.size() * 8);
    for (uint64_t h : accountHashes)
        for (int b = 0; b < 8; ++b) bytes += static_cast<char>((h >> (8 * b)) & 0xff);
    LockedFile sig(inside(backup, "accounts.sig"), Access::ReadWrite);
    sig.writeAt(0, bytes);
    sig.truncate(static_cast<int64_t>(bytes.size()));
    sig.syncData();
}

void PostingBackup::seal(const std::string& backup, const std::string& datebox,
                         const std::map<std::string, std::string>& known) {
    std::vector<std::string> lines{datebox};
    for (const std::string& entry : readAllLines(inside(backup, "files.lst"))) {
        const std::string name = entry.substr(0, entry.find(' '));
        const auto k = known.find(name);
        lines.push_back(name + " " + (k != known.end() ? k->second : stateOf(name)));
    }
    writeLines(inside(backup, "after.lst"), lines);
    auto all = backups();
    while (static_cast<int>(all.size()) > kept) {
        Env::current().removeTree(resolveName(std::string(folder) + "\\" + all.front()));
        all.erase(all.begin());
    }
}

std::string PostingBackup::postingDate(const std::string& backup) {
    return TextReader(inside(backup, "after.lst")).readLine();
}

std::string PostingBackup::changedSince(const std::string& backup) {
    const auto lines = readAllLines(inside(backup, "after.lst"));
    for (size_t k = 1; k < lines.size(); ++k) {
        const std::string name = lines[k].substr(0, lines[k].find(' '));
        if (lines[k] != name + " " + stateOf(name)) return name;
    }
    return {};
}

std::optional<PostingBackup::AccountChange> PostingBackup::changedAccount(const std::string& backup) {
    namespace custrec = store::account;
    const std::string sigName = inside(backup, "accounts.sig");
    if (!fileExists(sigName) || !fileExists("cust.dat")) return std::nullopt;
    const std::string sig = LockedFile(sigName, Access::Read).readAll();
    const std::string now = LockedFile("cust.dat", Access::Read).readAll();
    const std::string before =
        fileExists(inside(backup, "cust.dat")) ? LockedFile(inside(backup, "cust.dat"), Access::Read).readAll() : "";
    const size_t signed_ = sig.size() / 8, accounts = now.size() / custrec::length;
    static constexpr const char* names[] = {"last name",
                                            "first name",
                                            "street",
                                            "initial",
                                            "city",
                                            "state",
                                            "zip code",
                                            "month of the last transaction",
                                            "last transaction",
                                            "balance",
                                            "credit limit",
                                            "phone",
                                            "work phone",
                                            "date opened"};
    for (size_t i = 0; i < std::max(signed_, accounts); ++i) {
        uint64_t h = 0;
        for (int b = 7; i < signed_ && b >= 0; --b) h = (h << 8) | static_cast<unsigned char>(sig[i * 8 + b]);
        const std::string_view record =
            i < accounts ? std::string_view(now).substr(i * custrec::length, custrec::length) : std::string_view();
        if (i < signed_ && i < accounts && recordHash(record) == h) continue;
        AccountChange c;
        c.account = static_cast<int32_t>(i + 1);
        if (i >= accounts) {
            c.field = "record";
            c.now = "gone";
            return c;
        }
        c.names = std::string(trim(fieldText(record, custrec::name2))) + " " +
                  std::string(trim(fieldText(record, custrec::name1)));
        const std::string_view was = (i + 1) * custrec::length <= before.size()
                                         ? std::string_view(before).substr(i * custrec::length, custrec::length)
                                         : std::string_view();
        if (was.empty()) {
            c.field = "record";
            c.now = "added";
            return c;
        }
        // A field the posting never writes first; then those it writes, as they were before it.
        const auto posted = [](size_t f) { return f == 7 || f == 8 || f == 9 || f == 17 || f == 18; };
        for (int pass = 0; pass < 2; ++pass)
            for (size_t f = 0; f < custrec::fields.size(); ++f) {
                if (posted(f) != (pass == 1)) continue;
                const std::string_view a = fieldText(was, custrec::fields[f]),
                                       b = fieldText(record, custrec::fields[f]);
                if (a == b) continue;
                c.field = f < std::size(names) ? names[f]
                          : f == 17            ? "credit rating"
                          : f == 18            ? "no-interest mark"
                                               : "field " + std::to_string(f + 1);
                c.before = std::string(trim(a));
                c.now = std::string(trim(b));
                return c;
            }
        c.field = "record";
        return c;
    }
    return std::nullopt;
}

void PostingBackup::restore(const std::string& backup) {
    for (const std::string& entry : readAllLines(inside(backup, "files.lst"))) {
        const size_t blank = entry.find(' ');
        const std::string name = entry.substr(0, blank);
        if (blank != std::string::npos) { // missing before the posting
            if (fileExists(name)) removeFile(name);
            continue;
        }
        // Written in place, as the store's other programs expect of a record file.
        const std::string bytes = LockedFile(inside(backup, name), Access::Read).readAll();
        LockedFile target(name, Access::ReadWrite);
        target.writeAt(0, bytes);
        target.truncate(static_cast<int64_t>(bytes.size()));
        target.syncData();
    }
    Env::current().removeTree(resolveName(std::string(folder) + "\\" + backup));
}

void PostingBackup::describe(const std::string& backup, const Summary& d) {
    writeLines(inside(backup, "posting.txt"), {d.date, d.made, d.rate, d.charged, d.total, d.report});
}

std::optional<PostingBackup::Summary> PostingBackup::description(const std::string& backup) {
    if (!fileExists(inside(backup, "posting.txt"))) return std::nullopt;
    auto lines = readAllLines(inside(backup, "posting.txt"));
    lines.resize(6);
    return Summary{lines[0], lines[1], lines[2], lines[3], lines[4], lines[5]};
}

std::string PostingBackup::copyOf(const std::string& backup, const std::string& name) { return inside(backup, name); }

std::string PostingBackup::folderOf(const std::string& backup) {
    return resolveName(std::string(folder) + "\\" + backup);
}

} // namespace interest
