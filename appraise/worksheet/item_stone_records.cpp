#include "appraise/worksheet/item_stone_records.h"

#include "common/basic_number.h"
#include "common/run_error.h"

namespace appraise {

using namespace common;

void storeItem(std::string& rec, const ItemEntry& e) {
    storeField(rec, itemrec::itemno, e.itemno);
    storeField(rec, itemrec::date, e.date);
    storeField(rec, itemrec::custno, e.custno);
    if (e.itemtype) storeField(rec, itemrec::itemtype, *e.itemtype);
    if (e.metalcolor) storeField(rec, itemrec::metalcolor, *e.metalcolor);
    if (e.metal) storeField(rec, itemrec::metal, *e.metal);
    if (e.wearer) storeField(rec, itemrec::wearer, *e.wearer);
    storeField(rec, itemrec::weight, e.weight);
    if (e.weightunit) storeField(rec, itemrec::weightunit, *e.weightunit);
    storeField(rec, itemrec::price, e.price);
}

void storeStone(std::string& rec, const StoneEntry& e) {
    storeField(rec, stonerec::itemno, e.itemno);
    storeField(rec, stonerec::stoneno, e.stoneno);
    storeField(rec, stonerec::date, e.date);
    if (e.kind) storeField(rec, stonerec::kind, *e.kind);
    if (e.shape) storeField(rec, stonerec::shape, *e.shape);
    storeField(rec, stonerec::carat, e.carat);
    storeField(rec, stonerec::quantity, e.quantity);
    storeField(rec, stonerec::dimensions, e.dimensions);
    storeField(rec, stonerec::clarity, e.clarity);
    storeField(rec, stonerec::color, e.color);
    storeField(rec, stonerec::cut, e.cut);
}

std::optional<int16_t> slotNumber(const std::string& text, int limit) {
    try {
        const int16_t n = cint(val(text));
        if (n < 0 || n > limit) return std::nullopt;
        return n;
    } catch (const RunError&) {
        return std::nullopt;
    }
}

} // namespace appraise
