#include "core/Variant.h"

#include "core/Errors.h"

namespace core {

bool Variant::isNumeric() const {
    switch (type()) {
        case Type::Integer:
        case Type::Long:
        case Type::Single:
        case Type::Double:
        case Type::Boolean:
            return true;
        default:
            return false;
    }
}

double Variant::toDouble() const {
    switch (type()) {
        case Type::Empty:
            return 0.0;
        case Type::Integer:
            return std::get<Integer>(value_);
        case Type::Long:
            return std::get<Long>(value_);
        case Type::Single:
            return std::get<float>(value_);
        case Type::Double:
            return std::get<double>(value_);
        case Type::Boolean:
            return std::get<bool>(value_) ? -1.0 : 0.0;
        case Type::String: {
            bool ok = false;
            const double d = std::get<QString>(value_).trimmed().toDouble(&ok);
            if (!ok) throw TypeMismatchError();
            return d;
        }
        case Type::Date:
            break;
    }
    throw TypeMismatchError();
}

QString Variant::toString() const {
    switch (type()) {
        case Type::Empty:
            return {};
        case Type::Integer:
            return QString::number(std::get<Integer>(value_));
        case Type::Long:
            return QString::number(std::get<Long>(value_));
        case Type::Single:
            return singleText(std::get<float>(value_));
        case Type::Double:
            return doubleText(std::get<double>(value_));
        case Type::String:
            return std::get<QString>(value_);
        case Type::Boolean:
            return std::get<bool>(value_) ? QStringLiteral("True") : QStringLiteral("False");
        case Type::Date: {
            const Date d = std::get<Date>(value_);
            return QStringLiteral("%1-%2-%3")
                .arg(d.year, 4, 10, QLatin1Char('0'))
                .arg(d.month, 2, 10, QLatin1Char('0'))
                .arg(d.day, 2, 10, QLatin1Char('0'));
        }
    }
    return {};
}

Integer Variant::asInteger() const {
    if (type() != Type::Integer) throw TypeMismatchError();
    return std::get<Integer>(value_);
}

const QString& Variant::asString() const {
    if (type() != Type::String) throw TypeMismatchError();
    return std::get<QString>(value_);
}

Date Variant::asDate() const {
    if (type() != Type::Date) throw TypeMismatchError();
    return std::get<Date>(value_);
}

bool Variant::equalsText(const QString& b) const {
    if (isString()) return std::get<QString>(value_) == b;
    return isEmpty() && b.isEmpty();
}

bool operator==(const Variant& a, const Variant& b) {
    if (a.isString()) return b.equalsText(a.asString());
    if (b.isString()) return a.equalsText(b.asString());
    if (a.type() == Variant::Type::Date || b.type() == Variant::Type::Date) {
        return a.type() == b.type() && a.asDate() == b.asDate();
    }
    return a.toDouble() == b.toDouble();  // numbers, Booleans and Empty
}

}  // namespace core
