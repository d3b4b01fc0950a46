#include "interest/posting_journal.h"

#include "store/account_record.h"
#include "store/transaction_record.h"

#include "common/env.h"
#include "common/fixed_field.h"
#include "common/run_error.h"
#include "common/trim_left_right_mid.h"

#include <cstdlib>
#include <cstring>

namespace interest {

using namespace common;

namespace {
constexpr size_t accountLength = store::account::length, transactionLength = store::transaction::length;
constexpr const char* magic = "VJRN2";

void putU64(std::string& s, uint64_t v) {
    char b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<char>((v >> (8 * i)) & 0xff);
    s.append(b, 8);
}
void putI32(std::string& s, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    char b[4];
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((u >> (8 * i)) & 0xff);
    s.append(b, 4);
}

struct Reader {
    const std::string& s;
    size_t at = 0;
    bool ok = true;
    uint64_t u64() {
        if (at + 8 > s.size()) return ok = false, 0;
        uint64_t v = 0;
        for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(static_cast<unsigned char>(s[at + i])) << (8 * i);
        at += 8;
        return v;
    }
    int32_t i32() {
        if (at + 4 > s.size()) return ok = false, 0;
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(s[at + i])) << (8 * i);
        at += 4;
        return static_cast<int32_t>(v);
    }
    std::string bytes(size_t n) {
        if (at + n > s.size()) return ok = false, std::string();
        at += n;
        return s.substr(at - n, n);
    }
};

// An entry: magic, the entry's length, the block, then a fingerprint of all of it. Written in
// pieces of about 1 MiB as it is made (`piece` keeps its room from one entry to the next).
int64_t writeEntry(LockedFile& file, int64_t at, const JournalBlock& b, uint64_t sequence, std::string& piece) {
    uint64_t length = 5 + 8 + 8 + 16 + 4 * 4 + 8;
    for (const JournalAccount& a : b.accounts)
        length += 4 + 8 + a.after.size() + 4 + (a.record > 0 ? a.transaction.size() : 0);
    Fingerprint fingerprint;
    const int64_t start = at;
    const auto write = [&] {
        fingerprint.add(piece);
        file.writeAt(at, piece);
        at += static_cast<int64_t>(piece.size());
        piece.clear();
    };
    piece.clear();
    piece.reserve((1 << 20) + 512);
    piece = magic;
    putU64(piece, length);
    putU64(piece, sequence);
    piece += padded(b.datebox, 16);
    putI32(piece, b.first);
    putI32(piece, b.last);
    putI32(piece, b.monthlast);
    putI32(piece, static_cast<int32_t>(b.accounts.size()));
    for (const JournalAccount& a : b.accounts) {
        putI32(piece, a.account);
        putU64(piece, a.beforeHash);
        piece += a.after;
        putI32(piece, a.record);
        if (a.record > 0) piece += a.transaction;
        if (piece.size() >= (1 << 20)) write();
    }
    fingerprint.add(piece);
    putU64(piece, fingerprint.value());
    file.writeAt(at, piece);
    at += static_cast<int64_t>(piece.size());
    return at - start;
}

std::optional<JournalBlock> decode(const std::string& slot) {
    if (slot.compare(0, 5, magic) != 0) return std::nullopt;
    Reader r{slot, 5};
    const uint64_t length = r.u64();
    if (!r.ok || length < 21 || length > slot.size()) return std::nullopt;
    const std::string body = slot.substr(0, length - 8);
    Reader tail{slot, length - 8};
    if (tail.u64() != recordHash(body)) return std::nullopt; // cut short, or damaged
    JournalBlock b;
    b.sequence = r.u64();
    b.datebox = std::string(rtrim(r.bytes(16)));
    b.first = r.i32();
    b.last = r.i32();
    b.monthlast = r.i32();
    const int32_t n = r.i32();
    for (int32_t k = 0; k < n && r.ok; ++k) {
        JournalAccount a;
        a.account = r.i32();
        a.beforeHash = r.u64();
        a.after = r.bytes(accountLength);
        a.record = r.i32();
        if (a.record > 0) a.transaction = r.bytes(transactionLength);
        b.accounts.push_back(std::move(a));
    }
    if (!r.ok) return std::nullopt;
    return b;
}

// The earlier format: one account, its record before and after, and the month file's place.
std::optional<JournalBlock> decodeSingle(const std::string& bytes) {
    constexpr auto fields = layoutFields<6>({5, 16, 12, 12, accountLength, accountLength});
    if (bytes.size() != fields[5].offset + accountLength || fieldText(bytes, fields[0]) != "VJRN1") return std::nullopt;
    JournalBlock b;
    b.singleAccount = true;
    b.datebox = std::string(rtrim(fieldText(bytes, fields[1])));
    b.first = b.last = std::atoi(std::string(fieldText(bytes, fields[2])).c_str());
    b.monthlast = std::atoi(std::string(fieldText(bytes, fields[3])).c_str());
    b.before = std::string(fieldText(bytes, fields[4]));
    JournalAccount a;
    a.account = b.first;
    a.beforeHash = recordHash(b.before);
    a.after = std::string(fieldText(bytes, fields[5]));
    b.accounts.push_back(std::move(a));
    return b;
}
} // namespace

void Fingerprint::add(std::string_view bytes) {
    // FNV-1a over 8-byte words (then the bytes left), the same on every machine and version.
    size_t i = 0;
    if (held_ > 0) {
        while (held_ < 8 && i < bytes.size()) word_[held_++] = bytes[i++];
        if (held_ < 8) return;
        mix(word_);
        held_ = 0;
    }
    for (; i + 8 <= bytes.size(); i += 8) mix(bytes.data() + i);
    while (i < bytes.size()) word_[held_++] = bytes[i++];
}

void Fingerprint::mix(const char* word) {
    uint64_t w = 0;
    std::memcpy(&w, word, 8);
    h_ = (h_ ^ w) * 1099511628211ULL;
    h_ ^= h_ >> 29;
}

uint64_t Fingerprint::value() const {
    uint64_t h = h_;
    for (size_t i = 0; i < held_; ++i) h = (h ^ static_cast<unsigned char>(word_[i])) * 1099511628211ULL;
    return h;
}

uint64_t recordHash(std::string_view bytes) {
    Fingerprint f;
    f.add(bytes);
    return f.value();
}

PostingJournal::PostingJournal() : file_(std::make_unique<LockedFile>(fileName, Access::ReadWrite)) {}

PostingJournal::~PostingJournal() {
    try {
        if (file_ && file_->size() == 0) Env::current().remove(file_->path());
    } catch (const RunError&) {
        // The size could not be read: the journal stays, and reads as none.
    }
}

std::optional<JournalBlock> PostingJournal::pending() const {
    const std::string bytes = file_->readAll();
    if (auto single = decodeSingle(bytes)) return single;
    // Entries follow one another; the last whole one counts (one cut short by a power cut, and
    // anything after it, is passed over).
    std::optional<JournalBlock> newest;
    size_t at = 0;
    while (at < bytes.size()) {
        Reader r{bytes, at + 5};
        const uint64_t length = r.u64();
        if (!r.ok || length > bytes.size() - at) break;
        auto b = decode(bytes.substr(at, static_cast<size_t>(length)));
        if (!b) break;
        newest = std::move(b);
        at += static_cast<size_t>(length);
    }
    wholeEnd_ = static_cast<int64_t>(at);
    return newest;
}

void PostingJournal::note(const JournalBlock& block) {
    if (end_ < 0) {
        // Appending after the last whole entry a stopped run left.
        const auto before = pending();
        sequence_ = before ? before->sequence : 0;
        if (before && before->singleAccount) wholeEnd_ = 0; // the earlier format is replaced
        file_->truncate(wholeEnd_);
        end_ = wholeEnd_;
    }
    const int64_t written = writeEntry(*file_, end_, block, ++sequence_, entry_);
    file_->syncData();
    end_ += written;
}

void PostingJournal::finish() {
    // Removed while still held, so that no other run can open it in between.
    try {
        Env::current().remove(file_->path());
    } catch (const RunError&) {
        // Left in place when it cannot be removed: nothing more can be done about it here.
    }
    file_.reset();
}

} // namespace interest
