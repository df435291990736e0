#include "options.h"

std::string Trimmed(const std::string& text)
{
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

void ForEachOption(const std::string& text, char separator,
                   const std::function<void(const std::string& key, const std::string& value)>& apply)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string::npos)
            end = text.size();
        const std::string item = text.substr(start, end - start);
        start = end + 1;
        const size_t equals = item.find('=');
        if (equals != std::string::npos)
            apply(Trimmed(item.substr(0, equals)), Trimmed(item.substr(equals + 1)));
    }
}

std::vector<std::string> ListItems(const std::string& text)
{
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        items.push_back(Trimmed(text.substr(start, comma - start)));
        start = comma + 1;
    }
    return items;
}

bool ParseNumber(const std::string& text, unsigned* value)
{
    size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        at = 1;
    const bool hex = text.size() > at + 2 && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X');
    if (hex)
        at += 2;
    if (at == text.size())
        return false;
    const unsigned base = hex ? 16 : 10;
    unsigned long long number = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        unsigned digit = base;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        if (digit >= base)
            return false;
        number = number * base + digit;
        if (number > 0xFFFFFFFFull)
            return false;
    }
    const unsigned result = static_cast<unsigned>(number);
    *value = negative ? 0u - result : result;
    return true;
}
