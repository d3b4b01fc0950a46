#pragma once
#include "common/fixed_field.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace appraise {

// An item of the appraisal, 157 characters; fields never stored hold NULs.
namespace itemrec {
constexpr size_t length = 157;
inline constexpr auto fields = common::layoutFields<13>({12, 3, 8, 5, 30, 10, 10, 10, 10, 1, 8, 12, 38});
inline constexpr common::Field itemno = fields[1], date = fields[2], custno = fields[3], itemtype = fields[4],
                               metalcolor = fields[5], metal = fields[6], wearer = fields[7], weight = fields[8],
                               weightunit = fields[9], price = fields[11];
} // namespace itemrec

// A stone of an item, 210 characters.
namespace stonerec {
constexpr size_t length = 210;
inline constexpr auto fields = common::layoutFields<13>({12, 3, 3, 8, 30, 20, 6, 3, 30, 15, 15, 15, 50});
inline constexpr common::Field itemno = fields[1], stoneno = fields[2], date = fields[3], kind = fields[4],
                               shape = fields[5], carat = fields[6], quantity = fields[7], dimensions = fields[8],
                               clarity = fields[9], color = fields[10], cut = fields[11];
} // namespace stonerec

constexpr int maxItem = 100;
constexpr int maxStone = 200;

// The appraisal in memory for the whole run: item slots 0..100, stone slots 0..200.
struct WorksheetTables {
    std::array<std::string, maxItem + 1> items;
    std::array<std::string, maxStone + 1> stones;
    int16_t curitem = 0;
    int16_t curstone = 0;
    int16_t lastitem = 0;
    std::string claritygrade, colorgrade, cutgrade;

    WorksheetTables() {
        items.fill(std::string(itemrec::length, '\0'));
        stones.fill(std::string(stonerec::length, '\0'));
    }
};

// What the entry panel holds for an item, as it is stored; an option group with nothing chosen
// leaves its field as it was.
struct ItemEntry {
    std::string itemno, date, custno;
    std::optional<std::string> itemtype, metalcolor, metal, wearer;
    std::string weight;
    std::optional<std::string> weightunit;
    std::string price;
};
void storeItem(std::string& record, const ItemEntry& entry);

// What the stone panel holds for a stone, as it is stored.
struct StoneEntry {
    std::string itemno, stoneno, date;
    std::optional<std::string> kind, shape;
    std::string carat, quantity, dimensions, clarity, color, cut;
};
void storeStone(std::string& record, const StoneEntry& entry);

// The numeric value of a number box as a slot number; nothing when it is not a whole number
// in 0..limit (out of range, or beyond the 16-bit range).
std::optional<int16_t> slotNumber(const std::string& text, int limit);

} // namespace appraise
