#include "appraise/documents/composition.h"
#include "common/trim_left_right_mid.h"

#include "appraise/worksheet/price_text.h"
#include "common/basic_number.h"
#include "common/format_picture.h"

#include <algorithm>

namespace appraise {

using namespace common;

namespace {
const std::string NL = "\r\n";

std::string trimmed(const std::string& rec, Field f) { return std::string(trim(fieldText(rec, f))); }

bool sameItem(const std::string& stone, const std::string& item) {
    return val(fieldText(stone, stonerec::itemno)) == val(fieldText(item, itemrec::itemno));
}

bool endsWith(const std::string& s, char c) { return !s.empty() && s.back() == c; }

// Nothing but blanks, or the NULs of a field never stored.
bool blank(const std::string& s) { return s.find_first_not_of(std::string(" \0", 2)) == std::string::npos; }

std::string stoneBlock(const std::string& stone, bool oneItem) {
    const std::string quantity = trimmed(stone, stonerec::quantity);
    std::string name = trimmed(stone, stonerec::kind);
    if (val(quantity) > 1 && !endsWith(name, 's') && !endsWith(name, 'z')) name += "s";
    std::string s = oneItem ? NL : "";
    // A shape or measurements not given leave their words out, not a blank ("52  cut pearls")
    // or a sentence that stops ("measuring approximately").
    const std::string shape = trimmed(stone, stonerec::shape);
    const std::string dimensions = trimmed(stone, stonerec::dimensions);
    s += NL + "   " + quantity + (blank(shape) ? std::string() : " " + shape + " cut") + " " + name;
    if (!blank(dimensions)) s += " measuring approximately " + dimensions;
    const std::pair<Field, const char*> grades[] = {{stonerec::clarity, "          Clarity : "},
                                                    {stonerec::cut, "          Cut :     "},
                                                    {stonerec::color, "          Color :   "},
                                                    {stonerec::carat, "          Carat :   "}};
    for (const auto& [field, label] : grades) {
        const std::string v = trimmed(stone, field);
        if (!v.empty()) s += NL + label + v;
    }
    return s;
}
} // namespace

int16_t itemCount(const WorksheetTables& t) {
    for (int n = maxItem; n >= 1; --n)
        if (val(fieldText(t.items[n], itemrec::itemno)) > 0) return static_cast<int16_t>(n);
    return 0;
}

std::string wrap80(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 40 + 2);
    size_t at = 0; // where the rest of the text starts
    while (text.size() - at > 80) {
        size_t cut = 80; // a hard break when there is no blank
        for (size_t p = 80; p >= 1; --p) {
            if (text[at + p - 1] == ' ') {
                cut = p;
                break;
            }
        }
        out.append(text, at, cut).append(NL);
        at += cut;
    }
    return out.append(text, at, std::string::npos).append(NL);
}

std::string itemSentence(const WorksheetTables& t, int16_t slot) {
    const std::string& item = t.items[slot];
    const std::string metal = trimmed(item, itemrec::metal);
    std::string metalPhrase;
    if (metal == "14 karat" || metal == "18 karat" || metal == "10 karat") {
        // "14 karat gold" when no colour was chosen, not "14 karat  gold".
        std::string color = trimmed(item, itemrec::metalcolor);
        std::erase(color, '\0');
        metalPhrase = "made of " + metal + " " + (color.empty() ? std::string() : color + " ") + "gold ";
    } else if (metal == "platinum" || metal == "sterling") metalPhrase = "made of " + metal + " ";
    const std::string unit = trimmed(item, itemrec::weightunit);
    std::string weightPhrase;
    if (unit == "g") weightPhrase = "weighing approximately " + trimmed(item, itemrec::weight) + " grams ";
    else if (unit == "d") weightPhrase = "weighing approximately " + trimmed(item, itemrec::weight) + " DWT ";
    int count = 0;
    for (int s = 1; s <= t.curstone && s <= maxStone; ++s) {
        if (!sameItem(t.stones[s], item)) continue;
        ++count;
        if (val(fieldText(t.stones[s], stonerec::quantity)) > 1) ++count;
    }
    const std::string stonePhrase = count == 0   ? ""
                                    : count == 1 ? "and containing the following stone:"
                                                 : "and containing the following stones:";
    // "One ring ..." when no wearer was chosen, not "One  ring".
    std::string wearer = trimmed(item, itemrec::wearer);
    std::erase(wearer, '\0'); // a field never stored
    return "One " + (wearer.empty() ? std::string() : wearer + " ") + trimmed(item, itemrec::itemtype) + " " +
           metalPhrase + weightPhrase + stonePhrase;
}

namespace {
// The date, the heading, the customer's lines, the opening passage and the purpose passage.
std::string documentHead(const CompositionInput& in) {
    std::string s = in.datebox + NL + in.typeHeading + NL;
    for (int k = 1; k <= 4; ++k) s += in.custlines[k] + NL;
    for (const auto& line : in.openingLines)
        if (!trim(line).empty()) s += wrap80(line);
    if (!in.purposeLines.empty()) s += NL;
    for (const auto& line : in.purposeLines)
        if (!trim(line).empty()) s += wrap80(line);
    return s;
}

// One item: its header line, its sentence, its stones and its replacement value.
std::string itemBody(const WorksheetTables& t, int16_t slot, int16_t number, int16_t count, bool oneItem) {
    const std::string& item = t.items[slot];
    std::string s = oneItem ? NL + NL : "";
    std::string header = "Item number" + str(number) + " of" + str(count) + " items:";
    header.resize(60, ' ');
    s += NL + header + NL;
    if (oneItem) s += NL;
    s += wrap80(itemSentence(t, slot));
    for (int st = 1; st <= t.curstone && st <= maxStone; ++st)
        if (sameItem(t.stones[st], item)) s += stoneBlock(t.stones[st], oneItem);
    if (oneItem) s += NL;
    s +=
        NL + "                                Replacement Value:  " + std::string(fieldText(item, itemrec::price)) + NL;
    return s;
}

std::string withoutNuls(std::string s) {
    // Fields never stored hold NULs; they have no place in a document.
    s.erase(std::remove(s.begin(), s.end(), '\0'), s.end());
    return s;
}
} // namespace

std::string composeAppraisal(const CompositionInput& in) {
    return withoutNuls(documentHead(in) +
                       itemBody(*in.tables, in.shownitem, in.shownitem, in.itemCount, in.itemCount < 2));
}

bool itemIsEmpty(const WorksheetTables& t, int16_t slot) {
    const std::string& item = t.items[slot];
    for (Field f : {itemrec::itemtype, itemrec::metalcolor, itemrec::metal, itemrec::wearer, itemrec::weight})
        if (!withoutNuls(trimmed(item, f)).empty()) return false;
    if (val(withoutNuls(std::string(fieldText(item, itemrec::price)))) != 0) return false;
    for (int st = 1; st <= t.curstone && st <= maxStone; ++st)
        if (sameItem(t.stones[st], item)) return false;
    return true;
}

std::vector<int16_t> itemsToCompose(const WorksheetTables& t) {
    std::vector<int16_t> slots;
    const int16_t m = itemCount(t);
    for (int16_t n = 1; n <= m; ++n)
        if (val(fieldText(t.items[n], itemrec::itemno)) > 0 && !itemIsEmpty(t, n)) slots.push_back(n);
    return slots;
}

Money totalReplacementValue(const WorksheetTables& t, const std::vector<int16_t>& slots) {
    Money total;
    for (int16_t n : slots) {
        const auto price = readPrice(withoutNuls(std::string(fieldText(t.items[n], itemrec::price))));
        total = total + Money::fromText(price.value_or("0"));
    }
    return total;
}

std::string composeAllItems(const CompositionInput& in) {
    const WorksheetTables& t = *in.tables;
    const std::vector<int16_t> slots = itemsToCompose(t);
    const auto count = static_cast<int16_t>(slots.size());
    std::string s = documentHead(in);
    for (int16_t i = 0; i < count; ++i) s += itemBody(t, slots[i], static_cast<int16_t>(i + 1), count, false);
    s += NL + "                          Total Replacement Value:  " +
         std::string(trim(formatPicture(totalReplacementValue(t, slots), "######0.00"))) + NL;
    return withoutNuls(s);
}

} // namespace appraise
