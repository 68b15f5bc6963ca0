#pragma once

#include <string>
#include <vector>

#include "core/Errors.h"

namespace core {

// A two-dimensional array with fixed inclusive bounds (field, row) whose rows are only allocated
// when first written: the XRF table may hold 101 x 26001 values, but a core section uses a small
// part of it. Reading a row that was never written gives the default value. Indices outside the
// bounds throw SubscriptError, exactly as for a fully allocated array.
template <typename T>
class FixedTable {
  public:
    FixedTable(long lower1, long upper1, long lower2, long upper2)
        : lower1_(lower1), upper1_(upper1), lower2_(lower2), upper2_(upper2) {}

    long lower1() const { return lower1_; }
    long upper1() const { return upper1_; }
    long lower2() const { return lower2_; }
    long upper2() const { return upper2_; }

    T& operator()(long i, long j) {
        check(i, j);
        const auto row = static_cast<std::size_t>(j - lower2_);
        if (row >= rows_.size()) rows_.resize(row + 1);
        std::vector<T>& r = rows_[row];
        if (r.empty()) r.resize(static_cast<std::size_t>(upper1_ - lower1_ + 1));
        return r[static_cast<std::size_t>(i - lower1_)];
    }
    const T& operator()(long i, long j) const {
        check(i, j);
        const auto row = static_cast<std::size_t>(j - lower2_);
        if (row >= rows_.size() || rows_[row].empty()) return empty_;
        return rows_[row][static_cast<std::size_t>(i - lower1_)];
    }
    // Forgets every value (back to the default), keeping the bounds.
    void clear() { rows_.clear(); }

  private:
    void check(long i, long j) const {
        if (i < lower1_ || i > upper1_ || j < lower2_ || j > upper2_) {
            throw SubscriptError("Subscript out of range: (" + std::to_string(i) + ", " + std::to_string(j) +
                                 ")");
        }
    }

    long lower1_, upper1_, lower2_, upper2_;
    std::vector<std::vector<T>> rows_;
    T empty_{};
};

}  // namespace core
