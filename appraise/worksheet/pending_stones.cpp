#include "appraise/worksheet/pending_stones.h"

#include <algorithm>

namespace appraise {

using namespace common;

void PendingStones::add(int16_t slot, std::string record) {
    std::erase_if(stones_, [slot](const auto& s) { return s.first == slot; });
    stones_.emplace_back(slot, std::move(record));
}

void PendingStones::commit(WorksheetTables& tables, const std::string& itemno) {
    for (auto& [slot, record] : stones_) {
        storeField(record, stonerec::itemno, itemno);
        tables.stones[slot] = record;
        // Every stone stored stays in the appraisal: a stone typed under a lower number does not
        // hide the ones above it.
        tables.curstone = std::max(tables.curstone, slot);
    }
    stones_.clear();
}

} // namespace appraise
