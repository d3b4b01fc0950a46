#include "interest/posting_journal.h"

#include "common/fixed_field.h"
#include "common/run_error.h"
#include "common/trim_left_right_mid.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace interest {

using namespace common;

namespace {
constexpr size_t accountLength = 222, transactionLength = 94;
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

// magic, the entry's length, the block, then a fingerprint of all of it; into `s`, whose
// room is kept from one block to the next.
void encode(const JournalBlock& b, uint64_t sequence, std::string& s) {
    s.clear();
    s.reserve(64 + b.accounts.size() * (16 + accountLength + transactionLength));
    s = magic;
    putU64(s, 0); // the length, filled in below
    putU64(s, sequence);
    s += padded(b.datebox, 16);
    putI32(s, b.first);
    putI32(s, b.last);
    putI32(s, b.monthlast);
    putI32(s, static_cast<int32_t>(b.accounts.size()));
    for (const JournalAccount& a : b.accounts) {
        putI32(s, a.account);
        putU64(s, a.beforeHash);
        s += a.after;
        putI32(s, a.record);
        if (a.record > 0) s += a.transaction;
    }
    const uint64_t length = s.size() + 8;
    for (int i = 0; i < 8; ++i) s[5 + i] = static_cast<char>((length >> (8 * i)) & 0xff);
    putU64(s, recordHash(s));
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

uint64_t recordHash(std::string_view bytes) {
    // FNV-1a over 8-byte words (then the bytes left), the same on every machine and version.
    uint64_t h = 1469598103934665603ULL;
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t w = 0;
        std::memcpy(&w, bytes.data() + i, 8);
        h = (h ^ w) * 1099511628211ULL;
        h ^= h >> 29;
    }
    for (; i < bytes.size(); ++i) h = (h ^ static_cast<unsigned char>(bytes[i])) * 1099511628211ULL;
    return h;
}

PostingJournal::PostingJournal() : file_(std::make_unique<LockedFile>(fileName, Access::ReadWrite)) {}

PostingJournal::~PostingJournal() {
    try {
        if (file_ && file_->size() == 0) ::unlink(file_->path().c_str());
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
    encode(block, ++sequence_, entry_);
    file_->writeAt(end_, entry_);
    file_->syncData();
    end_ += static_cast<int64_t>(entry_.size());
}

void PostingJournal::finish() {
    // Removed while still held, so that no other run can open it in between.
    ::unlink(file_->path().c_str());
    file_.reset();
}

} // namespace interest
