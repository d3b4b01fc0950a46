#include "interest/account_files.h"
#include "common/trim_left_right_mid.h"

#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/text_file.h"

#include <algorithm>
#include <cstring>

namespace interest {

using namespace common;

RunFiles::Known& RunFiles::known(const std::string& name) {
    // Month file names ("1226.dat") are eight bytes: compared as one number, in a short list.
    uint64_t key = 0;
    if (name.size() == sizeof key) {
        std::memcpy(&key, name.data(), sizeof key);
        for (const auto& [k, known] : short_)
            if (k == key) return *known;
    }
    auto it = known_.find(name);
    if (it == known_.end()) {
        Known k;
        k.path = resolveName(name);
        if (fileExists(name)) k.id = idOf(k.path);
        it = known_.emplace(name, std::move(k)).first;
    }
    if (name.size() == sizeof key && short_.size() < 64) short_.emplace_back(key, &it->second);
    return it->second;
}

int RunFiles::idOf(const std::string& path) {
    for (size_t i = 0; i < files_.size(); ++i)
        if (files_[i].path == path) return static_cast<int>(i);
    files_.push_back(Open{path, nullptr, Access::Read, {}, {}});
    return static_cast<int>(files_.size() - 1);
}

void RunFiles::dropPieces(int id) {
    for (Slot& slot : slots_)
        if (slot.file == id) slot.file = -1;
    files_[static_cast<size_t>(id)].slotOf.clear();
}

void RunFiles::closeAll() {
    for (Open& f : files_) {
        f.file.reset();
        f.slotOf.clear();
    }
    slots_.clear();
}

size_t RunFiles::load(Open& f, int id, size_t piece) {
    if (f.loaded[piece] && ++rereads_ > slotLimit_ / 2 && slotLimit_ < maxSlots) {
        slotLimit_ *= 2; // pieces come back after they were let go: the cache is too small
        rereads_ = 0;
    }
    size_t s = slots_.size();
    if (s < slotLimit_) {
        slots_.push_back(Slot{-1, 0, 0, std::make_unique_for_overwrite<char[]>(pieceBytes)});
    } else {
        s = static_cast<size_t>(std::min_element(slots_.begin(), slots_.end(),
                                                 [](const Slot& a, const Slot& b) { return a.used < b.used; }) -
                                slots_.begin());
        Slot& old = slots_[s];
        if (old.file >= 0) files_[static_cast<size_t>(old.file)].slotOf[old.piece] = -1;
        old.file = -1;
    }
    f.file->readRunInto(static_cast<int64_t>(piece) * perPiece + 1, perPiece, slots_[s].bytes.get());
    slots_[s].file = id;
    slots_[s].piece = piece;
    f.slotOf[piece] = static_cast<int32_t>(s);
    f.loaded[piece] = true;
    return s;
}

std::string_view RunFiles::read(const std::string& name, int32_t record) {
    int id = known(name).id;
    if (id < 0 || !files_[static_cast<size_t>(id)].file) {
        open(name, transrec::length, Access::Read, Sharing::Default);
        id = known(name).id;
    }
    Open& f = files_[static_cast<size_t>(id)];
    RecordFile& file = *f.file;
    if (record < 1 || f.access != Access::Read) { // the file the run writes
        if (beforeReadingWritten) beforeReadingWritten(record);
        record_ = file.read(record);
        return record_;
    }
    // A month file the walks read (others may not write it while the run holds it): read in
    // pieces of whole records, each piece once while there is room.
    const auto piece = static_cast<size_t>((record - 1) / perPiece);
    if (piece >= f.slotOf.size()) f.slotOf.resize(piece + 1, -1);
    if (piece >= f.loaded.size()) f.loaded.resize(piece + 1, false);
    int32_t s = f.slotOf[piece];
    if (s < 0) s = static_cast<int32_t>(load(f, id, piece));
    Slot& slot = slots_[static_cast<size_t>(s)];
    slot.used = ++clock_;
    return {slot.bytes.get() + static_cast<size_t>((record - 1) % perPiece) * transrec::length, transrec::length};
}

bool RunFiles::openForWriting(const std::string& name) {
    const int id = known(name).id;
    return id >= 0 && files_[static_cast<size_t>(id)].file &&
           files_[static_cast<size_t>(id)].access == Access::ReadWrite;
}

RecordFile& RunFiles::open(const std::string& name, size_t recordLength, Access access, Sharing sharing) {
    Known& k = known(name);
    if (k.id < 0) {
        // Opening for writing creates it; opening for reading fails as the file's opening does.
        if (access != Access::ReadWrite) RecordFile(name, recordLength, access, sharing);
        k.id = idOf(k.path);
    }
    Open& f = files_[static_cast<size_t>(k.id)];
    if (f.file && access == Access::ReadWrite && f.access == Access::Read) {
        f.file.reset(); // opened for reading earlier; reopen it for writing
        dropPieces(k.id);
    }
    if (!f.file) {
        f.file = std::make_unique<RecordFile>(name, recordLength, access, sharing);
        f.access = access;
    }
    return *f.file;
}

std::string fieldOf(const std::string& record, Field f) { return std::string(fieldText(record, f)); }

std::string printable(std::string_view bytes) {
    std::string s(bytes);
    for (char& c : s)
        if (c == '\0') c = ' ';
    return s;
}

std::string accountNames(std::string_view account) {
    return std::string(common::trim(fieldText(account, custrec::name1))) + " " +
           std::string(common::trim(fieldText(account, custrec::name2)));
}

} // namespace interest
