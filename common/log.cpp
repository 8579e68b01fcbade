#include "common/log.h"

#include "common/textfile.h"

#include <cstdio>

namespace oboro {

struct DiagnosticLog::Impl {
    std::FILE* file = nullptr;
};

DiagnosticLog& DiagnosticLog::instance()
{
    static DiagnosticLog log;
    return log;
}

DiagnosticLog::~DiagnosticLog()
{
    close();
    delete d;
}

bool DiagnosticLog::open(const std::string& path)
{
    close();
    if (!d)
        d = new Impl;
    d->file = std::fopen(path.c_str(), "w");
    return d->file != nullptr;
}

void DiagnosticLog::close()
{
    if (d && d->file) {
        std::fclose(d->file);
        d->file = nullptr;
    }
}

bool DiagnosticLog::isOpen() const { return d && d->file; }

void DiagnosticLog::write(std::string_view line)
{
    if (!isOpen())
        return;
    const std::string sjis = utf8ToSjis(line).value_or(std::string(line));
    std::fwrite(sjis.data(), 1, sjis.size(), d->file);
    std::fputc('\n', d->file);
    std::fflush(d->file);
}

} // namespace oboro
