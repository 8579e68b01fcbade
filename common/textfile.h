#pragma once
// Shift-JIS text files. Every data file of the program is code page 932 on disk;
// inside the program all text is UTF-8.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace oboro {

// CP932 → UTF-8; nullopt when the bytes are not valid CP932.
std::optional<std::string> sjisToUtf8(std::string_view sjis);
// UTF-8 → CP932; nullopt when a character has no CP932 form (or the UTF-8 is broken).
std::optional<std::string> utf8ToSjis(std::string_view utf8);
// Length in bytes of the text once written as CP932 (the unit of the files' limits);
// characters without a CP932 form count two bytes.
size_t sjisLength(std::string_view utf8);
// Cuts a UTF-8 text to at most maxBytes CP932 bytes without splitting a character.
std::string truncateSjis(std::string_view utf8, size_t maxBytes);

enum class TextFileStatus { Ok, NotFound, ReadError, BadEncoding, WriteError, NotEncodable };

struct TextFile {
    TextFileStatus status = TextFileStatus::Ok;
    std::vector<std::string> lines;   // UTF-8, without line ends ("\r\n" or "\n")
    std::vector<size_t> lineBytes;    // length of each line on disk (CP932 bytes)
    int badLine = 0;                  // 1-based line of an encoding error
    bool ok() const { return status == TextFileStatus::Ok; }
};

// Splits CP932 bytes into UTF-8 lines (line ends "\r\n" or "\n"); status BadEncoding
// with badLine set, and no lines, when the bytes are not valid CP932.
TextFile decodeSjisText(std::string_view bytes);

// Reads a whole CP932 text file. A file that is not valid CP932 is refused whole
// (status BadEncoding, badLine set); nothing half-decoded is returned.
TextFile readSjisFile(const std::string& path);

// Writes lines (UTF-8, each written with "\n" after it) as CP932. The file is written
// to a temporary file beside the target and renamed over it, so a failure leaves the
// old file as it was. On failure returns false and, when given, sets *badLine (1-based)
// for a line that has no CP932 form.
TextFileStatus writeSjisFile(const std::string& path, const std::vector<std::string>& lines, int* badLine = nullptr);

// Writes bytes atomically (temporary file, then rename).
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// A Japanese sentence for a failed read or write of path, for message boxes.
std::string textFileErrorMessage(TextFileStatus status, const std::string& path, int line = 0);

} // namespace oboro
