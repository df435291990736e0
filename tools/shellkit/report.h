#pragma once
#include <cstdio>
#include <map>
#include <string>

// Problems found in a game folder, one a line in the form compilers use, so that editors
// and build logs can jump to them: "PATH[:LINE]: error: TEXT". The report, its summary and a
// refusal go to standard output; standard error says only why a command could not run.
struct Report {
    int errors = 0;
    int warnings = 0;
    std::FILE* out = stdout;
    // The publisher's own files that a folder's files were copied from, by their shown paths:
    // what is wrong with a file's content is named where the publisher can fix it.
    std::map<std::string, std::string> sources;

    std::string SourceOf(const std::string& shown) const;
    void Error(const std::string& path, int line, const std::string& text);
    void Warning(const std::string& path, int line, const std::string& text);

private:
    void Print(const std::string& path, int line, const char* kind, const std::string& text);
};
