#pragma once
// The diagnostic log file "OboroLog.txt" in the program folder: opened for writing at
// start-up, one-line entries from some operations, closed at exit.
#include <string>
#include <string_view>

namespace oboro {

class DiagnosticLog {
public:
    static DiagnosticLog& instance();
    // Opens (truncating) the log file; false when it cannot be created.
    bool open(const std::string& path);
    void close();
    bool isOpen() const;
    // Writes one line (UTF-8 in, Shift-JIS in the file). Does nothing when closed.
    void write(std::string_view line);

private:
    DiagnosticLog() = default;
    ~DiagnosticLog();
    struct Impl;
    Impl* d = nullptr;
};

inline void logLine(std::string_view line) { DiagnosticLog::instance().write(line); }

} // namespace oboro
