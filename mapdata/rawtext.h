#pragma once
// Byte-level helpers of the map data readers: lines of a file held in memory, the
// strict field split over raw Shift-JIS bytes without allocating, and decimal numbers.
// Shift-JIS trail bytes never take the values of a comma, blank, tab or line feed, so
// splitting the raw bytes gives the same fields as splitting the decoded text.
#include "common/messages.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace oboro {

// Reads a whole file; nullopt when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// Walks the lines of a text held in memory: each call yields the next line without its
// line end ("\n" or "\r\n") and its 1-based number. A last line without a line end counts.
class RawLines {
public:
    explicit RawLines(std::string_view text) : text_(text) {}
    bool next(std::string_view& line)
    {
        if (pos_ >= text_.size())
            return false;
        const size_t end = text_.find('\n', pos_);
        size_t stop = end == std::string_view::npos ? text_.size() : end;
        const size_t after = end == std::string_view::npos ? text_.size() : end + 1;
        if (stop > pos_ && text_[stop - 1] == '\r')
            --stop;
        line = text_.substr(pos_, stop - pos_);
        pos_ = after;
        ++number_;
        return true;
    }
    int number() const { return number_; }

private:
    std::string_view text_;
    size_t pos_ = 0;
    int number_ = 0;
};

// The strict field split of one line into views of the line. Only the first kMax fields
// are kept; count() is the number of fields the line holds.
class RawFields {
public:
    static constexpr int kMax = 16;
    explicit RawFields(std::string_view line);
    int count() const { return count_; }
    std::string_view operator[](int i) const { return i < count_ && i < kMax ? f_[i] : std::string_view(); }

private:
    std::string_view f_[kMax];
    int count_ = 0;
};

// The whole field must be an optionally signed decimal integer in the 32-bit range.
std::optional<int32_t> parseInt32(std::string_view field);

// Reads the first 2 × pairs fields of a point line as 32-bit integers into out, with the
// result of the strict field split and parseInt32 but without building the fields.
enum class PointLineStatus { Ok, TooFewFields, NotNumeric };
PointLineStatus parsePointLine(std::string_view line, int pairs, int32_t* out);

// Shift-JIS text of at most maxBytes bytes, cut without splitting a character.
std::string_view cutSjis(std::string_view sjis, size_t maxBytes);

// "12 行目" style pieces of the readers' messages.
std::string lineLabel(int line);

// Collects the malformed lines of one file and shows them as one message: the file
// name, the first few line numbers with what is wrong, and how many more there were.
class LineProblems {
public:
    void add(int line, std::string_view what);
    int count() const { return count_; }
    // Shows the message (when there was a problem) and starts over.
    void flush(const std::string& fileName, MessageSink& sink);

private:
    std::vector<std::string> listed_;
    int count_ = 0;
};

} // namespace oboro
