#pragma once
#include "appraise/worksheet/item_stone_records.h"
#include "common/money.h"

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
    // What the appraisal is for and its dates, after the opening (none without the passage).
    std::vector<std::string> purposeLines;
};

// The highest item slot 1..100 whose number is above 0 (0 when none).
int16_t itemCount(const WorksheetTables& t);

// The wording of one item, lines ended by CR LF.
std::string composeAppraisal(const CompositionInput& in);

// Nothing was entered for the item: no type, metal, wearer or weight, no price above 0, no stone.
bool itemIsEmpty(const WorksheetTables& t, int16_t slot);

// The items an appraisal of every item holds: the numbered slots up to the item count with
// something entered, in order.
std::vector<int16_t> itemsToCompose(const WorksheetTables& t);

// The sum of those items' prices.
common::Money totalReplacementValue(const WorksheetTables& t, const std::vector<int16_t>& slots);

// Every item of the worksheet in one appraisal: the heading and opening once, then each item as
// "Item number N of M items:" with its sentence, stones and replacement value, then the total
// replacement value.
std::string composeAllItems(const CompositionInput& in);

// The sentence describing an item, before wrapping.
std::string itemSentence(const WorksheetTables& t, int16_t slot);

// Text wrapped to 80 columns: each piece ends after the last blank at or before column 80
// (the blank kept), or at column 80 when there is none; every piece is followed by CR LF.
std::string wrap80(const std::string& text);

} // namespace appraise
