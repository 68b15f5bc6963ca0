#pragma once

#include "core/VariantTable.h"

namespace core {

// The table the curves are drawn from: row 0 holds the column names, column 0 the grey profile,
// and after an XRF import the other columns are the XRF table's curve fields themselves. Those are
// not copied: column k of positions 1..N reads field k + offset of the XRF table it is linked to,
// which stays unchanged for the rest of the run. Reads and writes anywhere else use the table's
// own cells, so a table that is not linked works as a plain table of its bounds.
class CurveTable {
  public:
    CurveTable() = default;

    // Bounds (columns, positions), every own cell Empty, no link.
    void redim(long lower1, long upper1, long lower2, long upper2);
    // Columns 1..curves of positions 1..upper2() read field k + fieldOffset of `source` from now
    // on. The source must outlive the link (the program links to its XRF table, which lives for
    // the whole run).
    void link(const VariantTable* source, long fieldOffset, long curves);

    bool isAllocated() const { return own_.isAllocated(); }
    long lower1() const { return own_.lower1(); }
    long upper1() const { return own_.upper1(); }
    long lower2() const { return own_.lower2(); }
    long upper2() const { return own_.upper2(); }

    Variant get(long k, long i) const {
        if (isLinked(k, i)) return source_->get(k + offset_, i);
        return own(i).get(k, i == 0 ? 0 : i);
    }
    void set(long k, long i, const Variant& value) { ownForWriting(k, i).set(k, i, value); }
    void setNumber(long k, long i, double value) { ownForWriting(k, i).setNumber(k, i, value); }
    // As VariantTable::number.
    bool number(long k, long i, double& out) const {
        if (isLinked(k, i)) return source_->number(k + offset_, i, out);
        return own(i).number(k, i, out);
    }

    class CellRef {
      public:
        CellRef(CurveTable& table, long k, long i) : table_(table), k_(k), i_(i) {}
        operator Variant() const { return table_.get(k_, i_); }
        Variant value() const { return table_.get(k_, i_); }
        QString toString() const { return value().toString(); }
        CellRef& operator=(const Variant& v) {
            table_.set(k_, i_, v);
            return *this;
        }

      private:
        CurveTable& table_;
        long k_, i_;
    };
    CellRef operator()(long k, long i) { return CellRef(*this, k, i); }
    Variant operator()(long k, long i) const { return get(k, i); }

  private:
    bool isLinked(long k, long i) const {
        return source_ && k >= 1 && k <= curves_ && i >= 1 && i <= own_.upper2();
    }
    // The names live in a row of their own, so that the values of a linked table (column 0 only)
    // take one cell per position.
    const VariantTable& own(long i) const { return i == 0 ? names_ : own_; }
    VariantTable& ownForWriting(long k, long i);

    VariantTable own_;    // (columns, positions); row 0 unused
    VariantTable names_;  // (columns, 0 .. 0)
    const VariantTable* source_ = nullptr;
    long offset_ = 0;
    long curves_ = 0;
};

}  // namespace core
