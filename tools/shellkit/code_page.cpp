#include "code_page.h"

#include <cctype>
#include <cstring>

#include "process.h"

namespace {

// Code points of the bytes 0x80 to 0xFF; 0 where the code page defines none.
const uint16_t WINDOWS_1252[128] = {
    0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x0000, 0x017D, 0x0000,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178,
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};
const uint16_t WINDOWS_1251[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};
// Windows-1252's upper half spelled in ASCII, for file names.
const char* const ASCII_SPELLING[128] = {
    "", "", "'", "f", "", "...", "", "", "^", "", "S", "", "OE", "", "Z", "",
    "", "'", "'", "", "", "-", "-", "-", "~", "", "s", "", "oe", "", "z", "Y",
    " ", "!", "", "", "", "", "", "", "", "", "a", "", "", "", "", "",
    "", "", "2", "3", "'", "u", "", "-", "", "1", "o", "", "1-4", "1-2", "3-4", "",
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O", "x", "O", "U", "U", "U", "U", "Y", "Th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "o", "", "o", "u", "u", "u", "u", "y", "th", "y",
};

std::string Utf8FromCodePage(const std::string& bytes, const uint16_t (&upper)[128])
{
    std::vector<uint32_t> codePoints;
    for (char c : bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        const uint32_t codePoint = byte < 0x80 ? byte : upper[byte - 0x80];
        if (codePoint != 0)
            codePoints.push_back(codePoint);
    }
    return EncodeUtf8(codePoints);
}

}  // namespace

bool IsAscii(const std::string& text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::string Lowercase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool DecodeUtf8(const std::string& text, std::vector<uint32_t>& codePoints)
{
    codePoints.clear();
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        uint32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next >> 6) != 2)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        // Overlong forms and surrogates are not UTF-8.
        const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (codePoint < least[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint < 0xE000))
            return false;
        codePoints.push_back(codePoint);
        i += length;
    }
    return true;
}

std::string EncodeUtf8(const std::vector<uint32_t>& codePoints)
{
    std::string text;
    for (uint32_t c : codePoints) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (c >> 18));
            text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

std::string Utf8FromWindows1252(const std::string& bytes)
{
    return Utf8FromCodePage(bytes, WINDOWS_1252);
}

std::string Utf8FromWindows1251(const std::string& bytes)
{
    return Utf8FromCodePage(bytes, WINDOWS_1251);
}

bool Windows1252FromCodePoints(const std::vector<uint32_t>& codePoints, std::string& bytes)
{
    bytes.clear();
    for (uint32_t c : codePoints) {
        int byte = c < 0x80 ? static_cast<int>(c) : -1;
        for (int i = 0; i < 128 && byte < 0; ++i)
            if (c != 0 && WINDOWS_1252[i] == c)
                byte = 0x80 + i;
        if (byte < 0)
            return false;
        bytes += static_cast<char>(byte);
    }
    return true;
}

std::string FileNameFromTitle(const std::string& title, bool ascii)
{
    std::string name;
    for (char c : title) {
        const unsigned char byte = static_cast<unsigned char>(c);
        std::string piece(1, c);
        if (byte < 0x20 || byte == 0x7F || std::strchr("\\/:*?\"<>|", c) != nullptr)
            piece = " ";
        else if (byte >= 0x80 && (ascii || WINDOWS_1252[byte - 0x80] == 0))
            piece = ascii ? ASCII_SPELLING[byte - 0x80] : "";
        for (char p : piece)
            if (p != ' ' || (!name.empty() && name.back() != ' '))
                name += p;
    }
    while (!name.empty() && (name.back() == ' ' || name.back() == '.'))
        name.pop_back();
    return name;
}

std::string ScriptTextFromTitle(const std::string& title)
{
    return PATHS_ARE_UTF8 ? Utf8FromWindows1252(title) : title;
}

std::string PublisherFolderName(const std::string& publisher, const std::string& gameName)
{
    std::string folder;
    for (char c : publisher) {
        const bool plain = c > ' ' && c < 0x7F && std::strchr("\\/:*?\"<>|", c) == nullptr;
        if (plain || (c == ' ' && !folder.empty() && folder.back() != ' '))
            folder += c;
    }
    while (!folder.empty() && (folder.back() == ' ' || folder.back() == '.'))
        folder.pop_back();
    return folder == gameName ? "" : folder;
}
