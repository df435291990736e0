#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The shell reads its settings as 8-bit ANSI text, so a game's title is bytes whose meaning
// depends on the player's Windows: these turn them into what a player would see.

bool IsAscii(const std::string& text);
std::string Lowercase(std::string text);
// Code points of UTF-8 text; false when the bytes are not UTF-8.
bool DecodeUtf8(const std::string& text, std::vector<uint32_t>& codePoints);
std::string EncodeUtf8(const std::vector<uint32_t>& codePoints);

// Windows-1252 (Western European) and Windows-1251 (Cyrillic) bytes as UTF-8 for the report;
// bytes a code page leaves undefined show as nothing, as they do in a title bar.
std::string Utf8FromWindows1252(const std::string& bytes);
std::string Utf8FromWindows1251(const std::string& bytes);
// False when a code point has no Windows-1252 byte.
bool Windows1252FromCodePoints(const std::vector<uint32_t>& codePoints, std::string& bytes);

// A name a Windows file can have, from a Windows-1252 title: the characters a file name cannot
// hold dropped, blanks folded, the ends trimmed; accented letters spelled in ASCII when ascii.
std::string FileNameFromTitle(const std::string& title, bool ascii);

// A Windows-1252 title in the text of the kit's scripts (UTF-8 natively, ANSI on Windows).
std::string ScriptTextFromTitle(const std::string& title);
// The publisher's folder above the game's in the default install folders: its name in plain
// ASCII, which every code page spells; "" when nothing is left or it is the game's own name.
std::string PublisherFolderName(const std::string& publisher, const std::string& gameName);
