#include "mapdata/datasource.h"

#include "common/paths.h"
#include "common/textfile.h"

#include <QDateTime>
#include <QFileInfo>

#include <cstdio>

namespace oboro {

namespace {

std::string valueOf(const std::string& line, const char* key)
{
    const std::string k = key;
    if (line.compare(0, k.size(), k) != 0)
        return {};
    std::string v = line.substr(k.size());
    while (!v.empty() && (v.back() == ' ' || v.back() == '\r' || v.back() == '\t'))
        v.pop_back();
    return v;
}

bool startsWith(const std::string& line, const char* key)
{
    return line.compare(0, std::char_traits<char>::length(key), key) == 0;
}

} // namespace

std::optional<QDate> parseReferenceDate(const std::string& text)
{
    int y = 0, m = 0, d = 0;
    char s1 = 0, s2 = 0, rest = 0;
    if (std::sscanf(text.c_str(), "%4d%c%2d%c%2d%c", &y, &s1, &m, &s2, &d, &rest) != 5)
        return std::nullopt;
    if (s1 != s2 || (s1 != '/' && s1 != '-'))
        return std::nullopt;
    const QDate date(y, m, d);
    if (!date.isValid() || y < 1900)
        return std::nullopt;
    return date;
}

DataSource readDataSource(const QString& folder)
{
    DataSource out;
    const QString path = resolvePath(folder, kDataSourceFile);
    if (!QFileInfo(path).isFile())
        return out;
    TextFile f = readSjisFile(path.toStdString());
    if (!f.ok())
        return out;
    out.found = true;
    out.lines = std::move(f.lines);
    for (const std::string& line : out.lines) {
        if (out.credit.empty() && startsWith(line, kSourceCreditKey))
            out.credit = valueOf(line, kSourceCreditKey);
        if (!out.referenceDate && startsWith(line, kSourceDateKey))
            out.referenceDate = parseReferenceDate(valueOf(line, kSourceDateKey));
    }
    return out;
}

std::optional<QDate> newestMapFileDate(const QString& folder)
{
    std::optional<QDate> newest;
    for (int code = 1; code <= 52; ++code) {
        char rel[32];
        std::snprintf(rel, sizeof rel, "\\mapdata\\%02d.map", code);
        const QFileInfo info(resolvePath(folder, rel));
        if (!info.isFile())
            continue; // a missing file does not stop the scan
        const QDate d = info.lastModified().date();
        if (d.isValid() && (!newest || d > *newest))
            newest = d;
    }
    return newest;
}

std::optional<QDate> boundaryDataDate(const QString& folder)
{
    if (const DataSource s = readDataSource(folder); s.referenceDate)
        return s.referenceDate;
    return newestMapFileDate(folder);
}

} // namespace oboro
