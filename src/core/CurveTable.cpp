#include "core/CurveTable.h"

namespace core {

void CurveTable::redim(long lower1, long upper1, long lower2, long upper2) {
    own_.redim(lower1, upper1, lower2, upper2);
    names_.redim(lower1, upper1, 0, 0);
    source_ = nullptr;
    offset_ = curves_ = 0;
}

void CurveTable::link(const VariantTable* source, long fieldOffset, long curves) {
    source_ = source;
    offset_ = fieldOffset;
    curves_ = curves;
}

VariantTable& CurveTable::ownForWriting(long k, long i) {
    own_.get(k, i);  // the table's own bounds, for names as well
    return i == 0 ? names_ : own_;
}

}  // namespace core
