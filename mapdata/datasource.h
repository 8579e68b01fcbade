#pragma once
// What the map data folder says about itself: "\\mapdata\\SOURCE.txt", written by the
// map data builder, names the source of the data, the date the boundaries are as of
// (the edition's reference date) and the credit that maps drawn from it must carry.
// Every line is "key: value" or free text; readers pick the keys they know.
#include <QDate>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace oboro {

inline constexpr const char* kDataSourceFile = "\\mapdata\\SOURCE.txt";
// Keys of SOURCE.txt (UTF-8; the file is Shift-JIS like every data file).
inline constexpr const char* kSourceCreditKey = "出典: ";   // credit line drawn on the map
inline constexpr const char* kSourceDateKey = "基準日: ";   // YYYY/MM/DD the boundaries are as of
inline constexpr const char* kSourceLicenceKey = "利用条件: ";

struct DataSource {
    bool found = false;               // the file exists and is Shift-JIS text
    std::vector<std::string> lines;   // the whole file, UTF-8
    std::string credit;               // empty: the data asks for no credit
    std::optional<QDate> referenceDate;
};

// Reads SOURCE.txt of the map data folder below folder (any spelling of "mapdata").
// A missing or unreadable file gives found = false and nothing else.
DataSource readDataSource(const QString& folder);

// "YYYY/MM/DD" (or "YYYY-MM-DD") as a date; nothing for any other text or an impossible day.
std::optional<QDate> parseReferenceDate(const std::string& text);

// Newest last-write date of the 52 map files "\\mapdata\\NN.map" below folder; missing
// files are skipped, no map file at all gives nothing.
std::optional<QDate> newestMapFileDate(const QString& folder);

// The date the boundary data is as of: the reference date of SOURCE.txt, else the newest
// last-write date of the 52 map files (files copied without their dates show the day of
// the copy). Nothing when there is neither.
std::optional<QDate> boundaryDataDate(const QString& folder);

} // namespace oboro
