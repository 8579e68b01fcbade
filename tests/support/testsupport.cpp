#include "support/testsupport.h"

#include "common/textfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace oboro::test {

std::string sharedDataDir() { return OBORO_SHARED_DATA; }

QString bundledDataDir() { return QStringLiteral(OBORO_SOURCE_DIR "/data"); }

bool haveSharedData() { return QFileInfo(QString::fromStdString(sharedDataDir() + "/n03-2021")).isDir(); }

std::string writeFile(const QString& dir, const std::string& relPath, const std::string& bytes)
{
    const QString path = dir + QLatin1Char('/') + QString::fromStdString(relPath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + path.toStdString());
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path.toStdString();
}

std::string writeSjisFile(const QString& dir, const std::string& relPath, const std::string& utf8)
{
    const auto sjis = utf8ToSjis(utf8);
    if (!sjis)
        throw std::runtime_error("text has no Shift-JIS form: " + relPath);
    return writeFile(dir, relPath, *sjis);
}

std::string readFileBytes(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

bool copyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + src.mid(from.size());
        QDir().mkpath(QFileInfo(dst).absolutePath());
        if (!QFile::copy(src, dst))
            return false;
    }
    return true;
}

} // namespace oboro::test
