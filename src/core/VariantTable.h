#pragma once

#include <QString>
#include <bit>
#include <cstdint>
#include <vector>

#include "core/Variant.h"

namespace core {

// A two-dimensional table of Variants (first index, second index) with inclusive bounds, stored
// compactly: every cell is eight bytes. A Double is kept as it is; every other type is packed into
// the space of the not-a-number values, texts as an index into a list of their own. The XRF table
// and the curve table hold millions of cells, and this keeps their memory at a little more than
// the file they came from.
//
// Only the cells written so far take memory: rows and columns are laid out up to the highest
// index written (or reserved). A cell never written reads as Empty. Indices outside the bounds
// throw SubscriptError, as for any bounded array; an undimensioned table has no valid index.
class VariantTable {
  public:
    VariantTable() = default;
    VariantTable(long lower1, long upper1, long lower2, long upper2) { redim(lower1, upper1, lower2, upper2); }

    // New bounds; every cell Empty.
    void redim(long lower1, long upper1, long lower2, long upper2);
    // New upper bounds, keeping the cells both shapes share.
    void redimPreserve(long upper1, long upper2);
    // Every cell Empty again, keeping the bounds.
    void clear();
    // Lays out room for indices up to (upper1, upper2) at once, so that filling a table of known
    // shape does not move it.
    void reserve(long upper1, long upper2);

    bool isAllocated() const { return upper1_ >= lower1_ && upper2_ >= lower2_; }
    long lower1() const { return lower1_; }
    long upper1() const { return upper1_; }
    long lower2() const { return lower2_; }
    long upper2() const { return upper2_; }

    Variant get(long i, long j) const;
    void set(long i, long j, const Variant& value) {
        std::uint64_t& c = cellForWriting(i, j);
        // Numbers are nearly every cell of a table: packed here without a call.
        if (const double* d = value.ifDouble(); d && *d == *d) {
            c = std::bit_cast<std::uint64_t>(*d);
        } else if (const Integer* n = value.ifInteger()) {
            c = kIntegerBox | static_cast<std::uint16_t>(*n);
        } else if (const Long* l = value.ifLong()) {
            c = kLongBox | static_cast<std::uint32_t>(*l);
        } else {
            c = encode(value);
        }
    }
    void setNumber(long i, long j, double value);  // the same as set with a Double, without a Variant

    // Copies cell (fromI, fromJ) of another table into (i, j), type and all.
    void copyCell(const VariantTable& from, long fromI, long fromJ, long i, long j);
    // Copies `count` cells of row fromJ of another table, from column fromI on, into row j from
    // column i on.
    void copyCells(const VariantTable& from, long fromI, long fromJ, long i, long j, long count);

    // The value of a cell as a number for plotting: numbers (and Booleans) as they are, Empty as
    // 0, a text that reads as a number as that number. False for any other text and for a date.
    bool number(long i, long j, double& out) const;
    // The number a cell of Double, Integer or Long holds, without a Variant made (a file's writer
    // goes through millions); false for a cell of any other type.
    bool numberAt(long i, long j, double& out) const;

    // table(i, j) reads as a Variant and can be assigned one.
    class CellRef {
      public:
        CellRef(VariantTable& table, long i, long j) : table_(table), i_(i), j_(j) {}
        operator Variant() const { return table_.get(i_, j_); }
        Variant value() const { return table_.get(i_, j_); }
        QString toString() const { return value().toString(); }
        double toDouble() const { return value().toDouble(); }
        CellRef& operator=(const Variant& v) {
            table_.set(i_, j_, v);
            return *this;
        }
        CellRef& operator=(const CellRef& other) { return *this = other.value(); }

      private:
        VariantTable& table_;
        long i_, j_;
    };
    CellRef operator()(long i, long j) {
        check(i, j);
        return CellRef(*this, i, j);
    }
    Variant operator()(long i, long j) const { return get(i, j); }

    // Bytes held, for memory reports.
    std::size_t memoryBytes() const;

  private:
    void check(long i, long j) const {
        if (i < lower1_ || i > upper1_ || j < lower2_ || j > upper2_) outOfRange(i, j);
    }
    [[noreturn]] static void outOfRange(long i, long j);
    static constexpr std::uint64_t kEmptyCell = 0xFFF0'0100'0000'0000ull;   // the packed Empty
    static constexpr std::uint64_t kIntegerBox = 0xFFF0'0200'0000'0000ull;  // an Integer, value in the low bits
    static constexpr std::uint64_t kLongBox = 0xFFF0'0300'0000'0000ull;     // a Long, likewise
    std::uint64_t cell(long i, long j) const {
        check(i, j);
        const long c = i - lower1_, r = j - lower2_;
        if (c >= columns_ || r >= rows_) return kEmptyCell;
        return cells_[static_cast<std::size_t>(r * columns_ + c)];
    }
    std::uint64_t& cellForWriting(long i, long j) {
        check(i, j);
        const long c = i - lower1_, r = j - lower2_;
        if (c >= columns_ || r >= rows_) grow(c, r);
        return cells_[static_cast<std::size_t>(r * columns_ + c)];
    }
    void grow(long column, long row);
    void layout(long columns, long rows);
    std::uint64_t encode(const Variant& value);
    Variant decode(std::uint64_t bits) const;

    long lower1_ = 0, upper1_ = -1, lower2_ = 0, upper2_ = -1;
    long columns_ = 0;  // columns laid out, from lower1_
    long rows_ = 0;     // rows laid out, from lower2_
    std::vector<std::uint64_t> cells_;  // row-major: (i, j) at (j - lower2_) * columns_ + (i - lower1_)
    std::vector<QString> texts_;
};

}  // namespace core
