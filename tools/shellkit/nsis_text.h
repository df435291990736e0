#pragma once
#include <string>

// Text as NSIS reads it: "$" would start a variable and a bare quote would end the string.
std::string NsisEscaped(const std::string& text);
// A quoted NSIS string: `variable` as it stands (such as $INSTDIR\, or nothing), then text.
std::string Nsis(const std::string& variable, const std::string& text);
// A path inside the game folder with backslashes, and its parts.
std::string WindowsPath(std::string path);
std::string NameOf(const std::string& relative);
std::string FolderOf(const std::string& relative);
// Whether a file name ends in an extension such as ".dll", in any case.
bool HasExtension(const std::string& path, const char* extension);
