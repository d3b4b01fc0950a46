#pragma once
#include "appraise/worksheet/item_stone_records.h"

#include <array>
#include <string>
#include <vector>

namespace appraise {

// Everything one "See Text" composition reads.
struct CompositionInput {
    const WorksheetTables* tables = nullptr;
    int16_t shownitem = 1;
    int16_t itemCount = 0; // M
    std::string datebox;
    std::string typeHeading = "Appraisal for";
    std::array<std::string, 5> custlines; // 1 to 4
    std::vector<std::string> openingLines;
};

// The highest item slot 1..100 whose number is above 0 (0 when none).
int16_t itemCount(const WorksheetTables& t);

// The wording of one item, lines ended by CR LF.
std::string composeAppraisal(const CompositionInput& in);

// The sentence describing an item, before wrapping.
std::string itemSentence(const WorksheetTables& t, int16_t slot);

// Text wrapped to 80 columns: each piece ends after the last blank at or before column 80
// (the blank kept), or at column 80 when there is none; every piece is followed by CR LF.
std::string wrap80(const std::string& text);

} // namespace appraise
