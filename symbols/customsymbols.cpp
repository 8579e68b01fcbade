#include "symbols/customsymbols.h"

#include "common/paths.h"
#include "symbols/stamplayer.h"
#include "symbols/stamps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace oboro {

namespace {

std::string withFolder(const char* text, const QString& folder)
{
    std::string s = text;
    const size_t at = s.find("%s");
    if (at != std::string::npos)
        s.replace(at, 2, QDir::toNativeSeparators(folder).toStdString());
    return s;
}

QString customFile(const QString& folder, int n)
{
    return resolvePath(folder, std::to_string(n) + ".bmp");
}

} // namespace

std::string copyInQuestion(const QString& folder) { return withFolder(kCopyInText, folder); }
std::string copyOutQuestion(const QString& folder) { return withFolder(kCopyOutText, folder); }

bool sameFolder(const QString& a, const QString& b)
{
    const QString ca = QDir::cleanPath(QFileInfo(a).absoluteFilePath());
    const QString cb = QDir::cleanPath(QFileInfo(b).absoluteFilePath());
    return ca.compare(cb, Qt::CaseInsensitive) == 0;
}

int deleteCustomSymbols(const QString& markFolder)
{
    int deleted = 0;
    for (int n = kFirstCustomSymbol; n <= kLastCustomSymbol; ++n) {
        const QString f = customFile(markFolder, n);
        if (QFileInfo(f).isFile() && QFile::remove(f))
            ++deleted;
    }
    return deleted;
}

int copyCustomSymbols(const QString& from, const QString& to, MessageSink& sink)
{
    int copied = 0;
    QDir().mkpath(to);
    for (int n = kFirstCustomSymbol; n <= kLastCustomSymbol; ++n) {
        const QString src = customFile(from, n);
        if (!QFileInfo(src).isFile())
            continue;
        const QString dst = customFile(to, n);
        const QString tmp = dst + QStringLiteral(".tmp");
        QFile::remove(tmp);
        // rename() replaces the old file in one step.
        const bool ok = QFile::copy(src, tmp) &&
                        std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(dst).constData()) == 0;
        if (!ok) {
            QFile::remove(tmp);
            sink.show("ファイルに書き込めません\n" + QDir::toNativeSeparators(dst).toStdString(), kCustomSymbolTitle,
                      MessageIcon::Exclamation);
            break;
        }
        ++copied;
    }
    return copied;
}

} // namespace oboro
