#include "settings.h"

#include <cstdlib>

namespace {

bool ParseNumber(const std::string& text, unsigned* value)
{
    if (text.empty())
        return false;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    const unsigned long parsed = std::strtoul(text.c_str(), &end, hex ? 16 : 10);
    if (*end != '\0')
        return false;
    *value = static_cast<unsigned>(parsed);
    return true;
}

std::string Trimmed(const std::string& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && (text[first] == ' ' || text[first] == '\t'))
        ++first;
    while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t' || text[last - 1] == '\r'))
        --last;
    return text.substr(first, last - first);
}

bool Listed(const std::vector<unsigned>& list, unsigned value)
{
    for (unsigned listed : list) {
        if (listed == value)
            return true;
    }
    return false;
}

// Numbers into `numbers`; the word "all" sets `all` when given.
void ParseList(const std::string& text, std::vector<unsigned>* numbers, bool* all)
{
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        const std::string item = Trimmed(text.substr(start, comma - start));
        unsigned number = 0;
        if (item == "all" && all)
            *all = true;
        else if (ParseNumber(item, &number))
            numbers->push_back(number);
        start = comma + 1;
    }
}

}  // namespace

void ArcadeSettings::Parse(const std::string& text)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = Trimmed(line.substr(0, equals));
        const std::string value = Trimmed(line.substr(equals + 1));
        unsigned number = 0;
        const bool isNumber = ParseNumber(value, &number);
        if (key == "initialize_result" && isNumber)
            initializeResult = number;
        else if (key == "enter_result" && isNumber)
            enterResult = number;
        else if (key == "error_text")
            errorText = value;
        else if (key == "initialize_fail_on")
            ParseList(value, &initializeFailOn, nullptr);
        else if (key == "consume")
            ParseList(value, &consume, &consumeAll);
        else if (key == "update_after_frames" && isNumber)
            updateAfterFrames = number;
        else if (key == "update_source")
            updateSource = value;
        else if (key == "update_files" && isNumber)
            updateFiles = number;
        else if (key == "journal")
            journal = value;
        else if (key == "animate" && isNumber)
            animate = number != 0;
    }
}

bool ArcadeSettings::Consumes(unsigned message) const
{
    return consumeAll || Listed(consume, message);
}

unsigned ArcadeSettings::InitializeResult(unsigned ordinal) const
{
    if (initializeFailOn.empty())
        return initializeResult;
    if (!Listed(initializeFailOn, ordinal))
        return 0;
    return initializeResult != 0 ? initializeResult : 1;
}
