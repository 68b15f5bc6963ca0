#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "core/Places.h"

namespace core {

// An array with explicit inclusive bounds. An index outside them throws SubscriptError, so a
// file command's error handler can catch it. A default-constructed array has no elements: every
// index is out of range until it is dimensioned.
template <typename T>
class Array {
  public:
    Array() = default;
    Array(long lower, long upper, const T& fill = T()) { redim(lower, upper, fill); }

    // Re-dimension, discarding the old contents.
    void redim(long lower, long upper, const T& fill = T()) {
        if (upper < lower - 1) throw SubscriptError("Invalid bounds");
        lower_ = lower;
        data_.assign(static_cast<std::size_t>(upper - lower + 1), Cell{fill});
    }
    // Re-dimension keeping the contents of the indices both shapes share.
    void redimPreserve(long upper, const T& fill = T()) {
        if (upper < lower_ - 1) throw SubscriptError("Invalid bounds");
        data_.resize(static_cast<std::size_t>(upper - lower_ + 1), Cell{fill});
    }

    bool isAllocated() const { return !data_.empty(); }
    long lower() const { return lower_; }
    long upper() const { return lower_ + static_cast<long>(data_.size()) - 1; }
    bool contains(long i) const { return i >= lower_ && i <= upper(); }

    T& operator()(long i) { return data_[offset(i)].value; }
    const T& operator()(long i) const { return data_[offset(i)].value; }
    // The arrays kept by data position (markers, labels, notes) take a Position too.
    bool contains(Position p) const { return contains(p.value); }
    T& operator()(Position p) { return (*this)(p.value); }
    const T& operator()(Position p) const { return (*this)(p.value); }

    void fill(const T& value) { std::fill(data_.begin(), data_.end(), Cell{value}); }

  private:
    std::size_t offset(long i) const {
        if (!contains(i)) throw SubscriptError("Subscript out of range: " + std::to_string(i));
        return static_cast<std::size_t>(i - lower_);
    }

    // A cell per element, so that an array of flags holds real bools (not std::vector<bool>).
    struct Cell {
        T value;
    };
    long lower_ = 0;
    std::vector<Cell> data_;
};

// A two-dimensional array (first index, second index), both with inclusive bounds.
template <typename T>
class Array2 {
  public:
    Array2() = default;
    Array2(long lower1, long upper1, long lower2, long upper2, const T& fill = T()) {
        redim(lower1, upper1, lower2, upper2, fill);
    }

    void redim(long lower1, long upper1, long lower2, long upper2, const T& fill = T()) {
        if (upper1 < lower1 || upper2 < lower2) throw SubscriptError("Invalid bounds");
        lower1_ = lower1;
        lower2_ = lower2;
        count1_ = upper1 - lower1 + 1;
        count2_ = upper2 - lower2 + 1;
        data_.assign(static_cast<std::size_t>(count1_ * count2_), fill);
    }
    // Keeps the elements whose indices lie inside both the old and the new bounds.
    void redimPreserve(long upper1, long upper2, const T& fill = T()) {
        Array2 grown(lower1_, upper1, lower2_, upper2, fill);
        for (long i = lower1_; i <= std::min(upper1, this->upper1()); ++i) {
            for (long j = lower2_; j <= std::min(upper2, this->upper2()); ++j) grown(i, j) = (*this)(i, j);
        }
        *this = std::move(grown);
    }

    bool isAllocated() const { return !data_.empty(); }
    long lower1() const { return lower1_; }
    long upper1() const { return lower1_ + count1_ - 1; }
    long lower2() const { return lower2_; }
    long upper2() const { return lower2_ + count2_ - 1; }

    T& operator()(long i, long j) { return data_[offset(i, j)]; }
    const T& operator()(long i, long j) const { return data_[offset(i, j)]; }

  private:
    std::size_t offset(long i, long j) const {
        if (i < lower1_ || i > upper1() || j < lower2_ || j > upper2()) {
            throw SubscriptError("Subscript out of range: (" + std::to_string(i) + ", " + std::to_string(j) +
                                 ")");
        }
        return static_cast<std::size_t>((i - lower1_) * count2_ + (j - lower2_));
    }

    long lower1_ = 0, lower2_ = 0, count1_ = 0, count2_ = 0;
    std::vector<T> data_;
};

}  // namespace core
