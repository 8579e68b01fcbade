#include "common/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <iconv.h>

namespace oboro {

namespace {

// One conversion through iconv; nullopt on an invalid or unconvertible sequence.
// iconv descriptors are costly to open; each thread keeps one per direction.
struct Converter {
    iconv_t cd;
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
};

std::optional<std::string> convert(const Converter& conv, std::string_view in)
{
    iconv_t cd = conv.cd;
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // back to the initial state
    std::string out;
    out.resize(in.size() * 2 + 16);
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    size_t done = 0;
    bool failed = false;
    while (inLeft > 0) {
        char* outPtr = out.data() + done;
        size_t outLeft = out.size() - done;
        const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        done = out.size() - outLeft;
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            failed = true; // EILSEQ or EINVAL (truncated sequence)
            break;
        }
        // glibc counts irreversible conversions in r; CP932 round-trips, so accept.
    }
    if (failed)
        return std::nullopt;
    out.resize(done);
    return out;
}

bool isAscii(std::string_view s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

} // namespace

std::optional<std::string> sjisToUtf8(std::string_view sjis)
{
    if (isAscii(sjis))
        return std::string(sjis);
    thread_local Converter conv("UTF-8", "CP932");
    return convert(conv, sjis);
}

std::optional<std::string> utf8ToSjis(std::string_view utf8)
{
    if (isAscii(utf8))
        return std::string(utf8);
    thread_local Converter conv("CP932", "UTF-8");
    return convert(conv, utf8);
}

size_t sjisLength(std::string_view utf8)
{
    size_t n = 0;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        if (i + len > utf8.size())
            len = utf8.size() - i;
        if (c < 0x80) {
            n += 1;
        } else if (len == 3 && c == 0xEF && i + 2 < utf8.size()) {
            // U+FF61..U+FF9F half-width katakana are one byte in CP932.
            const unsigned cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6) |
                                (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
            n += (cp >= 0xFF61 && cp <= 0xFF9F) ? 1 : 2;
        } else {
            n += 2;
        }
        i += len;
    }
    return n;
}

std::string truncateSjis(std::string_view utf8, size_t maxBytes)
{
    size_t i = 0;
    size_t bytes = 0;
    while (i < utf8.size()) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        const size_t w = sjisLength(utf8.substr(i, len));
        if (bytes + w > maxBytes)
            break;
        bytes += w;
        i += len;
    }
    return std::string(utf8.substr(0, i));
}

TextFile readSjisFile(const std::string& path)
{
    TextFile result;
    QFile file(QString::fromStdString(path));
    if (!file.exists()) {
        result.status = TextFileStatus::NotFound;
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = TextFileStatus::ReadError;
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.status = TextFileStatus::ReadError;
        return result;
    }
    return decodeSjisText(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

TextFile decodeSjisText(std::string_view all)
{
    TextFile result;
    size_t pos = 0;
    int number = 0;
    while (pos < all.size()) {
        size_t end = all.find('\n', pos);
        const size_t next = end == std::string_view::npos ? all.size() : end + 1;
        if (end == std::string_view::npos)
            end = all.size();
        size_t stop = end;
        if (stop > pos && all[stop - 1] == '\r')
            --stop;
        ++number;
        const std::string_view raw = all.substr(pos, stop - pos);
        std::optional<std::string> text = sjisToUtf8(raw);
        if (!text) {
            result.status = TextFileStatus::BadEncoding;
            result.badLine = number;
            result.lines.clear();
            result.lineBytes.clear();
            return result;
        }
        result.lines.push_back(std::move(*text));
        result.lineBytes.push_back(raw.size());
        pos = next;
    }
    return result;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    // Flush before commit and check it: QSaveFile::commit() of Qt 6.4 still renames the
    // temporary file when its final flush fails (a full disk), leaving a truncated file.
    if (!file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

TextFileStatus writeSjisFile(const std::string& path, const std::vector<std::string>& lines, int* badLine)
{
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::optional<std::string> sjis = utf8ToSjis(lines[i]);
        if (!sjis) {
            if (badLine)
                *badLine = static_cast<int>(i + 1);
            return TextFileStatus::NotEncodable;
        }
        out += *sjis;
        out += '\n';
    }
    return writeFileAtomically(path, out) ? TextFileStatus::Ok : TextFileStatus::WriteError;
}

std::string textFileErrorMessage(TextFileStatus status, const std::string& path, int line)
{
    const std::string name = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
    switch (status) {
    case TextFileStatus::Ok:
        return {};
    case TextFileStatus::NotFound:
        return "ファイルが見つかりません\n" + path;
    case TextFileStatus::ReadError:
        return "ファイルを読み込めません\n" + path;
    case TextFileStatus::BadEncoding:
        return "ファイルの文字コードが Shift-JIS ではありません\n" + name + " の " + std::to_string(line) + " 行目";
    case TextFileStatus::WriteError:
        return "ファイルに書き込めません\n" + path;
    case TextFileStatus::NotEncodable:
        return "Shift-JIS で書けない文字があります\n" + name + " の " + std::to_string(line) + " 行目";
    }
    return {};
}

} // namespace oboro
