#pragma once
#include "appraise/worksheet/item_stone_records.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace appraise {

// The stones ended for the item being entered. They join the appraisal's stones when the item is
// ended and kept, so that an item refused or left takes nothing of them into an item stored
// before.
class PendingStones {
  public:
    // A stone ended under its stone number; a later stone of the same number replaces it.
    void add(int16_t slot, std::string record);
    bool empty() const { return stones_.empty(); }
    size_t size() const { return stones_.size(); }
    // Into the table under the item's number (`itemno` as the item stores it), in the order they
    // were ended; the last one written is the stone stored last.
    void commit(WorksheetTables& tables, const std::string& itemno);
    void clear() { stones_.clear(); }

  private:
    std::vector<std::pair<int16_t, std::string>> stones_;
};

} // namespace appraise
