#include "report.h"

void Report::Error(const std::string& path, int line, const std::string& text)
{
    ++errors;
    Print(path, line, "error", text);
}

void Report::Warning(const std::string& path, int line, const std::string& text)
{
    ++warnings;
    Print(path, line, "warning", text);
}

void Report::Print(const std::string& path, int line, const char* kind, const std::string& text)
{
    if (line > 0)
        std::fprintf(out, "%s:%d: %s: %s\n", path.c_str(), line, kind, text.c_str());
    else
        std::fprintf(out, "%s: %s: %s\n", path.c_str(), kind, text.c_str());
}

std::string Report::SourceOf(const std::string& shown) const
{
    const auto found = sources.find(shown);
    return found == sources.end() ? shown : found->second;
}
