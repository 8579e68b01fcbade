#include "common/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace oboro {

namespace {
QString& folderStorage()
{
    static QString folder;
    return folder;
}
} // namespace

void setProgramFolder(const QString& folder) { folderStorage() = QDir(folder).absolutePath(); }

QString programFolder()
{
    if (folderStorage().isEmpty())
        folderStorage() = QDir::currentPath();
    return folderStorage();
}

QString resolvePath(const QString& base, std::string_view relative)
{
    QString rel = QString::fromUtf8(relative.data(), static_cast<qsizetype>(relative.size()));
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = rel.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = base;
    bool exists = QFileInfo(current).isDir();
    for (const QString& part : parts) {
        QString next = current + QLatin1Char('/') + part;
        if (exists && !QFileInfo::exists(next)) {
            const QStringList entries = QDir(current).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString& e : entries) {
                if (e.compare(part, Qt::CaseInsensitive) == 0) {
                    next = current + QLatin1Char('/') + e;
                    break;
                }
            }
        }
        exists = exists && QFileInfo::exists(next);
        current = next;
    }
    return current;
}

std::string programPath(std::string_view relative) { return resolvePath(programFolder(), relative).toStdString(); }

std::string programPathf(const char* pattern, int n)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, pattern, n);
    return programPath(buf);
}

} // namespace oboro
