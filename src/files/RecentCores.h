#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// The list of File > Open recent: the cores last worked on, newest first, each as its files
// together. Kept in a file of its own beside the settings ("Stratalyser_Recent.csv"): a row a core,
// its radiograph, its table (the working file once one is saved, else the scanner's table) and its
// photo (empty: none).
namespace files {

inline constexpr std::size_t kRecentCoresKept = 10;

struct RecentCore {
    QString radiograph, table, photo;
    bool operator==(const RecentCore&) const = default;
};

QByteArray writeRecentCores(const std::vector<RecentCore>& cores);
// Rows that are not three texts with a radiograph are passed over: a damaged list loses those rows,
// never the program's start.
std::vector<RecentCore> readRecentCores(const QByteArray& bytes);
// The list with `core` first: an entry of the same radiograph goes, the oldest past the tenth too.
std::vector<RecentCore> withCoreFirst(std::vector<RecentCore> cores, const RecentCore& core);

}  // namespace files
