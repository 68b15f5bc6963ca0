#include "core/VariantTable.h"

#include <bit>
#include <cmath>
#include <string>

#include "core/Errors.h"

namespace core {

namespace {

// A boxed cell: sign and exponent all ones (a not-a-number pattern), the type tag in bits 40..47,
// the value in bits 0..39. A tag is never 0, so the boxes never meet minus infinity, and every
// real not-a-number Double is stored under its own tag: raw Double bits are never boxes.
constexpr std::uint64_t kBoxBase = 0xFFF0'0000'0000'0000ull;
constexpr std::uint64_t kBoxMask = 0xFFF0'0000'0000'0000ull;
constexpr int kTagShift = 40;
constexpr std::uint64_t kPayloadMask = (1ull << kTagShift) - 1;

enum Tag : std::uint64_t { kEmpty = 1, kInteger, kLong, kSingle, kString, kBoolean, kDate, kNotANumber };

constexpr std::uint64_t box(Tag tag, std::uint64_t payload) {
    return kBoxBase | (static_cast<std::uint64_t>(tag) << kTagShift) | (payload & kPayloadMask);
}
static_assert(box(kEmpty, 0) == 0xFFF0'0100'0000'0000ull);
static_assert(box(kInteger, 0) == 0xFFF0'0200'0000'0000ull);
static_assert(box(kLong, 0) == 0xFFF0'0300'0000'0000ull);
constexpr std::uint64_t kEmptyCell = box(kEmpty, 0);

bool isBox(std::uint64_t bits) {
    return (bits & kBoxMask) == kBoxBase && (bits & ~kBoxMask) >> kTagShift != 0;
}
Tag tagOf(std::uint64_t bits) {
    return static_cast<Tag>((bits & ~kBoxMask) >> kTagShift);
}
std::uint64_t payloadOf(std::uint64_t bits) {
    return bits & kPayloadMask;
}

std::uint64_t doubleCell(double d) {
    return std::isnan(d) ? box(kNotANumber, 0) : std::bit_cast<std::uint64_t>(d);
}

}  // namespace

void VariantTable::redim(long lower1, long upper1, long lower2, long upper2) {
    if (upper1 < lower1 - 1 || upper2 < lower2 - 1) throw SubscriptError("Invalid bounds");
    lower1_ = lower1;
    upper1_ = upper1;
    lower2_ = lower2;
    upper2_ = upper2;
    clear();
}

void VariantTable::redimPreserve(long upper1, long upper2) {
    if (upper1 < lower1_ - 1 || upper2 < lower2_ - 1) throw SubscriptError("Invalid bounds");
    // Cells beyond the new bounds are dropped; the layout shrinks with them.
    layout(std::min(columns_, upper1 - lower1_ + 1), std::min(rows_, upper2 - lower2_ + 1));
    upper1_ = upper1;
    upper2_ = upper2;
}

void VariantTable::clear() {
    cells_.clear();
    cells_.shrink_to_fit();
    texts_.clear();
    texts_.shrink_to_fit();
    columns_ = 0;
    rows_ = 0;
}

void VariantTable::reserve(long upper1, long upper2) {
    check(upper1, upper2);
    layout(std::max(columns_, upper1 - lower1_ + 1), std::max(rows_, upper2 - lower2_ + 1));
}

void VariantTable::outOfRange(long i, long j) {
    throw SubscriptError("Subscript out of range: (" + std::to_string(i) + ", " + std::to_string(j) + ")");
}

// The cells laid out as `columns` x `rows`, keeping every cell both layouts hold.
void VariantTable::layout(long columns, long rows) {
    if (columns == columns_) {
        cells_.resize(static_cast<std::size_t>(columns * rows), kEmptyCell);
    } else {
        std::vector<std::uint64_t> cells(static_cast<std::size_t>(columns * rows), kEmptyCell);
        const long keepRows = std::min(rows, rows_), keepColumns = std::min(columns, columns_);
        for (long r = 0; r < keepRows; ++r)
            for (long c = 0; c < keepColumns; ++c)
                cells[static_cast<std::size_t>(r * columns + c)] = cells_[static_cast<std::size_t>(r * columns_ + c)];
        cells_ = std::move(cells);
        columns_ = columns;
    }
    rows_ = rows;
}

// Rows grow geometrically (a table is filled row by row); columns to what is written.
void VariantTable::grow(long column, long row) {
    long rows = rows_;
    if (row >= rows) rows = std::min(std::max(row + 1, rows * 2), upper2_ - lower2_ + 1);
    layout(std::max(columns_, column + 1), rows);
}

std::uint64_t VariantTable::encode(const Variant& v) {
    switch (v.type()) {
        case Variant::Type::Empty:
            return kEmptyCell;
        case Variant::Type::Integer:
            return box(kInteger, static_cast<std::uint16_t>(v.asInteger()));
        case Variant::Type::Long:
            return box(kLong, static_cast<std::uint32_t>(static_cast<Long>(v.toDouble())));
        case Variant::Type::Single:
            return box(kSingle, std::bit_cast<std::uint32_t>(static_cast<float>(v.toDouble())));
        case Variant::Type::Double:
            return doubleCell(v.toDouble());
        case Variant::Type::Boolean:
            return box(kBoolean, v.toDouble() != 0 ? 1 : 0);
        case Variant::Type::Date: {
            const Date d = v.asDate();
            return box(kDate, (static_cast<std::uint64_t>(static_cast<std::uint16_t>(d.year)) << 16) |
                                  (static_cast<std::uint64_t>(d.month & 0xFF) << 8) |
                                  static_cast<std::uint64_t>(d.day & 0xFF));
        }
        case Variant::Type::String:
            texts_.push_back(v.asString());
            return box(kString, texts_.size() - 1);
    }
    return kEmptyCell;
}

Variant VariantTable::decode(std::uint64_t bits) const {
    if (!isBox(bits)) return Variant(std::bit_cast<double>(bits));
    const std::uint64_t p = payloadOf(bits);
    switch (tagOf(bits)) {
        case kEmpty:
            return {};
        case kInteger:
            return Variant(static_cast<Integer>(static_cast<std::uint16_t>(p)));
        case kLong:
            return Variant(static_cast<Long>(static_cast<std::uint32_t>(p)));
        case kSingle:
            return Variant(std::bit_cast<float>(static_cast<std::uint32_t>(p)));
        case kString:
            return Variant(texts_[static_cast<std::size_t>(p)]);
        case kBoolean:
            return Variant(p != 0);
        case kDate:
            return Variant(Date{static_cast<std::int16_t>(p >> 16), static_cast<int>((p >> 8) & 0xFF),
                                static_cast<int>(p & 0xFF)});
        case kNotANumber:
            return Variant(std::nan(""));
    }
    return {};
}

bool VariantTable::numberAt(long i, long j, double& out) const {
    const std::uint64_t bits = cell(i, j);
    if (!isBox(bits)) {
        out = std::bit_cast<double>(bits);
    } else if (tagOf(bits) == kInteger) {
        out = static_cast<Integer>(static_cast<std::uint16_t>(payloadOf(bits)));
    } else if (tagOf(bits) == kLong) {
        out = static_cast<Long>(static_cast<std::uint32_t>(payloadOf(bits)));
    } else {
        return false;
    }
    return true;
}

Variant VariantTable::get(long i, long j) const {
    return decode(cell(i, j));
}

void VariantTable::setNumber(long i, long j, double value) {
    cellForWriting(i, j) = doubleCell(value);
}

void VariantTable::copyCell(const VariantTable& from, long fromI, long fromJ, long i, long j) {
    const std::uint64_t bits = from.cell(fromI, fromJ);
    if (isBox(bits) && tagOf(bits) == kString) {
        set(i, j, from.decode(bits));
    } else {
        cellForWriting(i, j) = bits;
    }
}

void VariantTable::copyCells(const VariantTable& from, long fromI, long fromJ, long i, long j, long count) {
    if (count <= 0) return;
    from.check(fromI + count - 1, fromJ);
    from.check(fromI, fromJ);
    cellForWriting(i + count - 1, j);
    std::uint64_t* to = &cellForWriting(i, j);
    const long fromColumn = fromI - from.lower1_, fromRow = fromJ - from.lower2_;
    for (long n = 0; n < count; ++n) {
        const long c = fromColumn + n;
        const std::uint64_t bits = c < from.columns_ && fromRow < from.rows_
                                       ? from.cells_[static_cast<std::size_t>(fromRow * from.columns_ + c)]
                                       : kEmptyCell;
        if (isBox(bits) && tagOf(bits) == kString) {
            to[n] = encode(from.decode(bits));
        } else {
            to[n] = bits;
        }
    }
}

bool VariantTable::number(long i, long j, double& out) const {
    const std::uint64_t bits = cell(i, j);
    if (!isBox(bits)) {
        out = std::bit_cast<double>(bits);
        return true;
    }
    const Tag tag = tagOf(bits);
    if (tag == kString || tag == kDate) {
        try {
            out = decode(bits).toDouble();
            return true;
        } catch (const RuntimeError&) {
            return false;
        }
    }
    out = decode(bits).toDouble();
    return true;
}

std::size_t VariantTable::memoryBytes() const {
    std::size_t bytes = cells_.capacity() * sizeof(std::uint64_t) + texts_.capacity() * sizeof(QString);
    for (const QString& t : texts_) bytes += static_cast<std::size_t>(t.capacity()) * sizeof(QChar);
    return bytes;
}

}  // namespace core
