#include "settings.h"

#include "options.h"

namespace {

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
    for (const std::string& item : ListItems(text)) {
        unsigned number = 0;
        if (item == "all" && all)
            *all = true;
        else if (ParseNumber(item, &number))
            numbers->push_back(number);
    }
}

}  // namespace

void ArcadeSettings::Parse(const std::string& text)
{
    ForEachOption(text, '\n', [this](const std::string& key, const std::string& value) {
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
        else if (key == "paint_over" && isNumber)
            paintOver = number != 0;
        else if (key == "fault")
            fault = value;
    });
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
