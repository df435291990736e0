#include "demo_game_control.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>

void SetDemoGameBehaviour(const std::string& behaviour, const std::string& journalPath)
{
    SetEnvironmentVariableA("MORVESSA_DEMO_GAME", behaviour.c_str());
    SetEnvironmentVariableA("MORVESSA_DEMO_JOURNAL", journalPath.empty() ? nullptr : journalPath.c_str());
}

std::vector<JournalLine> ReadJournal(const std::string& path)
{
    std::vector<JournalLine> lines;
    std::ifstream file(path);
    std::string text;
    while (std::getline(file, text)) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        std::istringstream fields(text);
        JournalLine line{};
        fields >> line.ms >> line.event;
        std::getline(fields, line.rest);
        if (!line.rest.empty() && line.rest[0] == ' ')
            line.rest.erase(0, 1);
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> JournalMessages(const std::string& path, const std::vector<std::string>& only)
{
    std::vector<std::string> names;
    for (const JournalLine& line : ReadJournal(path)) {
        if (line.event != "msg")
            continue;
        const std::string name = line.rest.substr(0, line.rest.find(' '));
        if (std::find(only.begin(), only.end(), name) != only.end())
            names.push_back(name);
    }
    return names;
}

std::string ProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}
