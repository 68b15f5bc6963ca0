#include "files/RecentCores.h"

#include <algorithm>

#include "core/Errors.h"
#include "files/FieldSyntax.h"

namespace files {

namespace {
constexpr int kFieldsPerCore = 3;
}  // namespace

QByteArray writeRecentCores(const std::vector<RecentCore>& cores) {
    FieldWriter writer;
    for (const RecentCore& c : cores)
        writer.writeLine({core::Variant(c.radiograph), core::Variant(c.table), core::Variant(c.photo)});
    return writer.bytes();
}

std::vector<RecentCore> readRecentCores(const QByteArray& bytes) {
    std::vector<RecentCore> cores;
    if (bytes.contains('\0')) return cores;  // not a text file
    FieldReader reader(bytes);
    while (!reader.atEnd() && cores.size() < kRecentCoresKept) {
        std::vector<core::Variant> row;
        try {
            row = reader.readLine(kFieldsPerCore);
        } catch (const core::FileError&) {
            while (!reader.atEnd() && !reader.lineEnded()) reader.readField();  // a row too long: passed over
            continue;
        } catch (const core::EndOfFileError&) {
            break;
        }
        const bool texts = row.size() == kFieldsPerCore &&
                           std::all_of(row.begin(), row.end(),
                                       [](const core::Variant& v) { return v.isString() || v.isEmpty(); });
        if (texts && !row[0].toString().isEmpty())
            cores.push_back({row[0].toString(), row[1].toString(), row[2].toString()});
    }
    return cores;
}

std::vector<RecentCore> withCoreFirst(std::vector<RecentCore> cores, const RecentCore& core) {
    std::erase_if(cores, [&core](const RecentCore& c) { return c.radiograph == core.radiograph; });
    cores.insert(cores.begin(), core);
    if (cores.size() > kRecentCoresKept) cores.resize(kRecentCoresKept);
    return cores;
}

}  // namespace files
