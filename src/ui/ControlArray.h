#pragma once

#include <QWidget>
#include <utility>
#include <vector>

#include "core/Errors.h"

namespace ui {

// Creates a control inside its container; the container (a Qt parent) owns it and deletes it
// with itself.
template <class T, class... Args>
T* make(QWidget* container, Args&&... args) {
    return new T(container, std::forward<Args>(args)...);
}

// Controls that share a name and differ by index, such as radiographSliders(0) and radiographSliders(1). The
// containers own the controls; an index outside the bounds throws SubscriptError.
template <class T>
class ControlArray {
  public:
    ControlArray() = default;
    template <class Factory>
    ControlArray(long lower, long upper, Factory&& makeOne) : lower_(lower) {
        for (long i = lower; i <= upper; ++i) items_.push_back(makeOne(i));
    }

    T* operator()(long i) const {
        if (i < lower_ || i > upper()) throw core::SubscriptError("Control array index out of range");
        return items_[static_cast<std::size_t>(i - lower_)];
    }
    long lower() const { return lower_; }
    long upper() const { return lower_ + static_cast<long>(items_.size()) - 1; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    long lower_ = 0;
    std::vector<T*> items_;
};

}  // namespace ui
