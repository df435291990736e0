#include <vector>

#include "code_page.h"
#include "rules.h"

namespace {

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

void CheckTitle(const std::string& path, int line, const std::string& title, Report& report)
{
    std::vector<uint32_t> codePoints;
    if (!IsAscii(title) && DecodeUtf8(title, codePoints)) {
        report.Error(path, line, "the name is saved as UTF-8, but the shell reads it as ANSI text: the title bar and "
                                 "the closing screen show " + Quoted(Utf8FromWindows1252(title)) +
                                 "; save the file as ANSI (Windows-1252)");
    } else if (!IsAscii(title)) {
        report.Warning(path, line, "the name holds letters outside ASCII, which Windows set to another language "
                                   "shows as other letters: with the Cyrillic code page (1251) the title reads " +
                                   Quoted(Utf8FromWindows1251(title)));
    }
    const size_t first = title.find_first_not_of(" \t");
    if (!title.empty() && (first != 0 || title.find_last_not_of(" \t") != title.size() - 1)) {
        const std::string rest = first == std::string::npos ? "" : title.substr(first, title.find_last_not_of(" \t") - first + 1);
        const char* where = first != 0 && IsBlank(title.back()) ? "begins and ends" : first != 0 ? "begins" : "ends";
        const char blank = first != 0 ? title.front() : title.back();
        report.Warning(path, line, std::string("the name ") + where + " with a " + (blank == '\t' ? "tab" : "blank") +
                                       ", which the shell keeps: the title bar and the closing screen show it around " +
                                       Quoted(Utf8FromWindows1252(rest)));
    }
    for (size_t i = 1; i + 1 < title.size(); ++i) {
        if (static_cast<unsigned char>(title[i]) < 0x20 && title[i] != '\r') {
            report.Warning(path, line, std::string("the name holds a ") + (title[i] == '\t' ? "tab" : "control character") +
                                           ", which the title bar and the closing screen show as part of the title");
            break;
        }
    }
    for (const char* placeholder : {"[TIME_TO_CLOSE]", "[GAME_TITLE]"})
        if (title.find(placeholder) != std::string::npos)
            report.Warning(path, line, std::string("the name holds \"") + placeholder +
                                           "\", which the closing screen replaces in its title");
}
