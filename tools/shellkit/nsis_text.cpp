#include "nsis_text.h"

#include <cstring>

std::string NsisEscaped(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        if (c == '$')
            escaped += "$$";
        else if (c == '"')
            escaped += "$\\\"";
        else
            escaped += c;
    }
    return escaped;
}

std::string Nsis(const std::string& variable, const std::string& text)
{
    return "\"" + variable + NsisEscaped(text) + "\"";
}

std::string WindowsPath(std::string path)
{
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    return path;
}

std::string NameOf(const std::string& relative)
{
    const size_t at = WindowsPath(relative).find_last_of('\\');
    return at == std::string::npos ? relative : relative.substr(at + 1);
}

std::string FolderOf(const std::string& relative)
{
    const size_t at = WindowsPath(relative).find_last_of('\\');
    return at == std::string::npos ? "" : WindowsPath(relative).substr(0, at);
}

bool HasExtension(const std::string& path, const char* extension)
{
    const size_t length = std::strlen(extension);
    if (path.size() < length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        const char c = path[path.size() - length + i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != extension[i])
            return false;
    }
    return true;
}
