#pragma once
#include "common/dates.h"
#include "common/run_error.h"
#include "interest/posting_journal.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace interest {

// What a file holds, as a seal notes it ("SIZE FINGERPRINT"), taken from its bytes in order:
// the fingerprints of its pieces of 1 MiB, folded. Fed the whole file, in as many calls as
// suits, it gives the same as reading the file.
class FileState {
  public:
    void add(std::string_view bytes);
    int64_t size() const { return size_; }
    std::string text() const;

  private:
    static constexpr size_t pieceSize = 1 << 20;
    uint64_t folded_ = 0;
    Fingerprint piece_;
    size_t inPiece_ = 0;
    int64_t size_ = 0;
};

// The copies of the files a posting changes, taken before its first write, in a folder of
// "INTBACK" named for the day and a number ("INTBACK\20261208-1"). When the posting is complete
// the backup is sealed with what the files then hold, so that an undo can tell whether anything
// changed them since. The twelve most recent backups are kept.
class PostingBackup {
  public:
    static constexpr const char* folder = "INTBACK";
    static constexpr int kept = 12;

    // A backup is taken in three steps, so that the copying may go on beside other work:
    // `begin` makes the backup's folder and notes which files exist (a missing one is noted as
    // missing), `copy` copies them (touching nothing but those files, on any thread) and
    // `complete` tells a failed copy or notes the list that makes the backup whole.
    struct Taking {
        struct Copy {
            std::string from, to, name; // resolved paths, and the copy's name as the store says it
        };
        std::string name;
        std::vector<std::string> list;
        std::vector<Copy> copies;
    };
    struct CopyFailure {
        std::optional<common::RunError> error; // none: every copy was made
    };
    static Taking begin(const std::vector<std::string>& files, const common::Clock& clock);
    static CopyFailure copy(const Taking& taking);
    static void complete(const Taking& taking, const CopyFailure& failure);
    // Removes a backup begun for a posting that stopped before it wrote anything: it would
    // only hide the completed posting before it from an undo.
    static void discard(const std::string& backup);
    // The newest backup, sealed or not.
    static std::optional<std::string> newest();
    static bool sealed(const std::string& backup);
    // Notes what the files hold now that the posting is complete, with its posting date; then
    // removes all but the newest `kept` backups. A file whose state the caller already knows
    // (the run had all of its bytes in hand) is not read again.
    static void seal(const std::string& backup, const std::string& datebox,
                     const std::map<std::string, std::string>& known = {});
    // Each account's fingerprint as the posting left it, by which an undo names an account
    // changed since; noted while the posting can still be completed, before its seal.
    static void noteAccounts(const std::string& backup, const std::vector<uint64_t>& accountHashes);
    static std::string postingDate(const std::string& backup);
    // What a person is told of a completed posting, kept beside its backup: the posting date,
    // when it was made, the rate as typed, the accounts charged, the total and the file of its
    // report.
    struct Summary {
        std::string date, made, rate, charged, total, report;
    };
    static void describe(const std::string& backup, const Summary& summary);
    // Nothing for a backup of a posting made before postings were described.
    static std::optional<Summary> description(const std::string& backup);
    // The backup's folder, in full, for restoring by hand.
    static std::string folderOf(const std::string& backup);
    // The name of a file's copy in the backup, as the store names files ("INTBACK\...\cust.dat").
    static std::string copyOf(const std::string& backup, const std::string& name);
    // The first file that has changed since the backup was sealed; empty when none has.
    static std::string changedSince(const std::string& backup);
    // The first account changed since the posting, with the first of its fields that differs from
    // the account as it was before the posting (a field the posting does not write first): none
    // when the backup has no fingerprints of the accounts, or no account changed.
    struct AccountChange {
        int32_t account = 0;
        std::string names, field, before, now; // `before`: before the posting
    };
    static std::optional<AccountChange> changedAccount(const std::string& backup);
    // Puts the files back as they were before the posting (removing those it created) and
    // removes the backup.
    static void restore(const std::string& backup);
};

} // namespace interest
