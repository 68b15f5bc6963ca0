#pragma once

#include <QString>
#include <compare>
#include <variant>

#include "core/Arithmetic.h"

namespace core {

struct Date {
    int year = 1899;
    int month = 12;
    int day = 30;
    friend bool operator==(const Date&, const Date&) = default;
};

// A tagged value that keeps the type it was given: a number read from a file stays a number,
// quoted text stays text. Comparison rules:
//   numbers of any type compare by value (Integer 3 == Double 3.0);
//   a String never equals a number, even "3" vs 3;
//   Empty equals 0 and equals "" (an unset value reads as zero or nothing);
//   Boolean is a number (true = -1, false = 0).
class Variant {
  public:
    enum class Type { Empty, Integer, Long, Single, Double, String, Boolean, Date };

    Variant() = default;
    Variant(Integer v) : value_(v) {}
    Variant(Long v) : value_(v) {}
    Variant(float v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(bool v) : value_(v) {}
    Variant(const QString& v) : value_(v) {}
    Variant(const char* v) : value_(QString::fromUtf8(v)) {}
    Variant(Date v) : value_(v) {}

    Type type() const { return static_cast<Type>(value_.index()); }
    bool isEmpty() const { return type() == Type::Empty; }
    bool isString() const { return type() == Type::String; }
    bool isNumeric() const;  // Integer, Long, Single, Double or Boolean

    // The numeric value. Empty gives 0; a String that reads as a number gives it; any other
    // String, or a Date, is a type mismatch.
    double toDouble() const;
    // The standard text form (CStr): numbers without a leading blank, Single with up to 7
    // significant digits, Empty as "", Boolean as "True"/"False", a date as yyyy-mm-dd.
    QString toString() const;

    // The value when the Variant holds exactly this type, else nullptr (for fast paths).
    const double* ifDouble() const { return std::get_if<double>(&value_); }
    const Integer* ifInteger() const { return std::get_if<Integer>(&value_); }
    const Long* ifLong() const { return std::get_if<Long>(&value_); }

    // Typed access; throws TypeMismatchError when the Variant holds another type.
    Integer asInteger() const;
    const QString& asString() const;
    Date asDate() const;

    friend bool operator==(const Variant& a, const Variant& b);
    friend bool operator==(const Variant& a, double b) { return a.isNumericOrEmpty() && a.toDouble() == b; }
    friend bool operator==(const Variant& a, int b) { return a == static_cast<double>(b); }
    friend bool operator==(const Variant& a, const QString& b) { return a.equalsText(b); }
    friend bool operator==(const Variant& a, const char* b) { return a.equalsText(QString::fromUtf8(b)); }

  private:
    bool isNumericOrEmpty() const { return isEmpty() || isNumeric(); }
    bool equalsText(const QString& b) const;

    std::variant<std::monostate, Integer, Long, float, double, QString, bool, Date> value_;
};

}  // namespace core
