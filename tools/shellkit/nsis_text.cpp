#include "nsis_text.h"

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
