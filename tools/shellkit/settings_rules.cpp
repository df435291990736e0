#include <cctype>
#include <cstring>

#include "code_page.h"
#include "host/settings_value.h"
#include "rules.h"

namespace {

const char* const KEYS[] = {APPLICATION_NAME_KEY, APPLICATION_ID_KEY, DEVELOPER_CHANNEL_ID_KEY};

struct SettingsLines {
    const std::string& text;
    size_t firstLine;  // past a UTF-8 byte order mark, which the shell takes for text

    int LineOf(size_t offset) const
    {
        int line = 1;
        for (size_t i = 0; i < offset && i < text.size(); ++i)
            line += text[i] == '\n';
        return line;
    }
    bool AtLineStart(size_t offset) const { return offset <= firstLine || text[offset - 1] == '\n'; }
};

bool EqualIgnoringCase(const std::string& a, const char* b)
{
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// The whole value after the key's first occurrence, up to the line's CR LF, uncut.
std::string WholeValue(const std::string& text, const char* key)
{
    std::vector<char> value(text.size() + 1);
    ExtractSettingValue(value.data(), static_cast<unsigned>(value.size()), text.c_str(), key, "\n");
    return value.data();
}

void CheckLineEnds(const std::string& path, const std::string& text, Report& report)
{
    int line = 1;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const bool lastLine = end == std::string::npos;
        if (lastLine)
            end = text.size();
        const std::string content = text.substr(start, end - start);
        bool holdsKey = false;
        for (const char* key : KEYS)
            holdsKey = holdsKey || content.find(key) != std::string::npos;
        const size_t cr = content.find('\r');
        if (cr != std::string::npos && cr + 1 < content.size()) {
            report.Error(path, line, "a CR without LF inside the line: the shell sees no line end there, so a value "
                                     "runs on into what follows; end every line with CR LF");
        } else if (!lastLine && (content.empty() || content.back() != '\r')) {
            const std::string problem = "ends in a bare LF: the shell drops the character before every line feed unseen";
            if (holdsKey)
                report.Error(path, line, problem + ", so this value loses its last character; end every line with CR LF");
            else
                report.Warning(path, line, problem + "; end every line with CR LF");
        }
        ++line;
        start = end + 1;
    }
}

void CheckKeyPlaces(const std::string& path, const SettingsLines& lines, Report& report)
{
    const std::string& text = lines.text;
    for (const char* key : KEYS) {
        std::vector<size_t> offsets(64);
        const size_t count = FindEveryOccurrence(text.c_str(), key, offsets.data(), offsets.size());
        offsets.resize(count < offsets.size() ? count : offsets.size());
        for (size_t i = 0; i < offsets.size(); ++i) {
            const int line = lines.LineOf(offsets[i]);
            if (i == 0 && !lines.AtLineStart(offsets[0]))
                report.Error(path, line, Quoted(key) + " first appears inside this line's value; the shell reads "
                                                       "it from there (keys are found anywhere in the text)");
            else if (i > 0 && lines.AtLineStart(offsets[i]))
                report.Error(path, line, Quoted(key) + " again: the shell reads only the first, on line " +
                                             std::to_string(lines.LineOf(offsets[0])));
            else if (i > 0)
                report.Warning(path, line, Quoted(key) + " appears inside this line's value; were the line above "
                                                         "removed, the shell would read it from there");
        }
    }
    int line = 1;
    for (size_t start = lines.firstLine; start < text.size(); ++line) {
        for (const char* key : KEYS) {
            const size_t length = std::strlen(key);
            const std::string head = text.substr(start, length);
            if (head.size() == length && head != key && EqualIgnoringCase(head, key))
                report.Error(path, line, Quoted(head) + " is not read: keys are case-sensitive; write " + Quoted(key));
        }
        const size_t end = text.find('\n', start);
        start = end == std::string::npos ? text.size() : end + 1;
    }
}

// Blanks around a number are skipped or ignored by the shell's conversion: a warning at most.
void CheckNumber(const std::string& path, int line, const char* what, const std::string& value, Report& report)
{
    const size_t first = value.find_first_not_of(" \t");
    const std::string number =
        first == std::string::npos ? value : value.substr(first, value.find_last_not_of(" \t") - first + 1);
    const std::string problem = NumberProblem(number);
    if (!problem.empty())
        report.Error(path, line, std::string(what) + " " + problem);
    else if (number != value)
        report.Warning(path, line, std::string(what) + " " + Quoted(value) + " has blanks around the number: the "
                                   "shell reads " + number + " all the same");
}

}  // namespace

std::string NumberProblem(const std::string& value)
{
    const uint32_t reads = ParseSettingNumber(value.c_str());
    const bool digitsOnly = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
    if (!digitsOnly)
        return "\"" + value + "\" is not a decimal number: the shell reads " + std::to_string(reads);
    if (reads == 0)
        return "reads as 0: use a number from 1 to 2147483647";
    if (reads == 2147483647u && value != "2147483647")
        return value + " is too large: the shell reads 2147483647";
    return "";
}

void CheckSettings(const std::string& path, const std::vector<uint8_t>& bytes, Report& report,
                   SettingsReading& reading)
{
    std::vector<char> decoded(bytes.size() + 1);
    const size_t length = DecodeSettingsBytes(bytes.data(), bytes.size(), decoded.data());
    const std::string text(decoded.data(), length);
    const bool utf8Mark = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    if (IsUtf16Settings(bytes.data(), bytes.size()))
        report.Warning(path, 0, "saved as UTF-16: the shell reads it, but characters outside the 8-bit range become "
                                "\"?\"; save it as ANSI");
    if (utf8Mark)
        report.Warning(path, 0, std::string("saved as UTF-8 with a byte order mark: the shell takes the mark for three "
                                            "characters before the first key and finds every key all the same; ") +
                                    (IsAscii(WholeValue(text, APPLICATION_NAME_KEY))
                                         ? "the name is plain ASCII, so it reads as written"
                                         : "it reads the name as ANSI text, not as UTF-8") +
                                    "; save it as ANSI");
    const SettingsLines lines{text, utf8Mark ? 3u : 0u};
    CheckLineEnds(path, text, report);
    CheckKeyPlaces(path, lines, report);

    const size_t nameAt = text.find(APPLICATION_NAME_KEY);
    if (nameAt == std::string::npos) {
        report.Error(path, 0, "no \"Application Name=\": the shell stops with \"Game files are corrupt, please "
                              "re-install game and try again.\"");
    } else {
        const std::string name = WholeValue(text, APPLICATION_NAME_KEY);
        const int line = lines.LineOf(nameAt);
        reading.hasName = true;
        reading.nameLine = line;
        reading.name = name.substr(0, APPLICATION_NAME_SIZE - 1);
        if (name.empty())
            report.Error(path, line, "the name is empty: the window has no title");
        else if (name.size() > APPLICATION_NAME_SIZE - 1)
            report.Error(path, line, "the name is " + std::to_string(name.size()) +
                                         " characters long; the shell keeps only the first 254: " +
                                         Quoted(Utf8FromWindows1252(reading.name)));
        CheckTitle(path, line, reading.name, report);
    }

    const size_t idAt = text.find(APPLICATION_ID_KEY);
    if (idAt == std::string::npos)
        report.Error(path, 0, "no \"Application ID=\": the ID reads as 0");
    else
        reading.applicationId = WholeValue(text, APPLICATION_ID_KEY);
    if (idAt != std::string::npos)
        CheckNumber(path, lines.LineOf(idAt), "the application ID", reading.applicationId, report);

    const size_t channelAt = text.find(DEVELOPER_CHANNEL_ID_KEY);
    if (channelAt == std::string::npos) {
        report.Error(path, 0, "no \"Developer Channel ID\": the channel reads as 0");
    } else {
        std::string value = WholeValue(text, DEVELOPER_CHANNEL_ID_KEY);
        const int line = lines.LineOf(channelAt);
        if (!value.empty() && value[0] == '=') {
            report.Error(path, line, "\"Developer Channel ID\" takes no \"=\": the channel reads as 0; write "
                                     "\"Developer Channel ID " + value.substr(1) + "\"");
        } else {
            const size_t digits = value.find_first_not_of(" \t");
            CheckNumber(path, line, "the developer channel ID", digits == std::string::npos ? "" : value.substr(digits),
                        report);
        }
    }
    if (text.find(PUBLISHER_KEY) != std::string::npos)
        reading.publisher = WholeValue(text, PUBLISHER_KEY);
}
