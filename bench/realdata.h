#pragma once
// The program folder of real map data for the benchmarks: the one named by
// OBORO_N03_DIR, else the bundled data of all Japan (data/ of the checkout); empty when
// neither is there.
#include <QByteArray>
#include <QFileInfo>
#include <QString>

inline QString realDataFolder()
{
    const QByteArray env = qgetenv("OBORO_N03_DIR");
    if (!env.isEmpty() && QFileInfo(QString::fromLocal8Bit(env)).isDir())
        return QString::fromLocal8Bit(env);
    const QString bundled = QStringLiteral(OBORO_SOURCE_DIR "/data");
    return QFileInfo(bundled + QStringLiteral("/mapdata")).isDir() ? bundled : QString();
}
