#pragma once
#include <cstdio>
#include <string>

// Problems found in a game folder, one a line in the form compilers use, so that editors
// and build logs can jump to them: "PATH[:LINE]: error: TEXT".
struct Report {
    int errors = 0;
    int warnings = 0;
    std::FILE* out = stdout;

    void Error(const std::string& path, int line, const std::string& text);
    void Warning(const std::string& path, int line, const std::string& text);

private:
    void Print(const std::string& path, int line, const char* kind, const std::string& text);
};
