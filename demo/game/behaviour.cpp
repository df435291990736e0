#include "behaviour.h"

#include <string>

namespace {

std::string trimmed(const std::string& text)
{
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// Accepts an optional minus sign so that an exit code such as -1 becomes 0xFFFFFFFF.
bool parseNumber(const std::string& text, unsigned& out)
{
    size_t at = 0;
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        at = 1;
    }
    if (at == text.size())
        return false;
    unsigned long long value = 0;
    for (; at < text.size(); ++at) {
        char c = text[at];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 0xFFFFFFFFull)
            return false;
    }
    unsigned result = static_cast<unsigned>(value);
    out = negative ? 0u - result : result;
    return true;
}

void applyIgnoreList(const std::string& list, DemoBehaviour& b)
{
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        std::string name = trimmed(list.substr(start, comma - start));
        bool all = name == "all";
        if (all || name == "close")
            b.ignoreClose = true;
        if (all || name == "syscommand")
            b.ignoreSysCommand = true;
        if (all || name == "quit")
            b.ignoreQuit = true;
        if (all || name == "destroy")
            b.ignoreDestroy = true;
        start = comma + 1;
    }
}

void applyOption(const std::string& key, const std::string& value, DemoBehaviour& b)
{
    unsigned number = 0;
    bool isNumber = parseNumber(value, number);
    if (key == "windows" && isNumber)
        b.windows = number > 16 ? 16 : number;
    else if (key == "laterwindows" && isNumber)
        b.laterWindowsMs = number;
    else if (key == "threadwindow" && isNumber)
        b.threadWindow = number != 0;
    else if (key == "activate" && isNumber)
        b.activate = number != 0;
    else if (key == "exitafter" && isNumber) {
        b.exitAfter = true;
        b.exitAfterMs = number;
    } else if (key == "exitcode" && isNumber)
        b.exitCode = number;
    else if (key == "ignore")
        applyIgnoreList(value, b);
    else if (key == "hang" && isNumber)
        b.hang = number != 0;
}

}  // namespace

DemoBehaviour parseDemoBehaviour(const char* text)
{
    DemoBehaviour b;
    if (!text)
        return b;
    std::string all(text);
    size_t start = 0;
    while (start < all.size()) {
        size_t semicolon = all.find(';', start);
        if (semicolon == std::string::npos)
            semicolon = all.size();
        std::string option = all.substr(start, semicolon - start);
        size_t equals = option.find('=');
        if (equals != std::string::npos)
            applyOption(trimmed(option.substr(0, equals)), trimmed(option.substr(equals + 1)), b);
        start = semicolon + 1;
    }
    return b;
}
