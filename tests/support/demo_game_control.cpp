#include "demo_game_control.h"

#include <windows.h>

#include <algorithm>
#include <fstream>

void SetDemoGameBehaviour(const std::string& behaviour, const std::string& journalPath)
{
    SetEnvironmentVariableA("MORVESSA_DEMO_GAME", behaviour.c_str());
    SetEnvironmentVariableA("MORVESSA_DEMO_JOURNAL", journalPath.empty() ? nullptr : journalPath.c_str());
}

std::vector<JournalLine> ReadJournal(const std::string& path)
{
    std::vector<JournalLine> lines;
    std::ifstream file(path);
    JournalLine line{};
    while (file >> line.ms >> line.event >> std::ws && std::getline(file, line.rest))
        lines.push_back(line);
    return lines;
}

std::vector<std::string> JournalMessages(const std::string& path, const std::vector<std::string>& only)
{
    std::vector<std::string> names;
    for (const JournalLine& line : ReadJournal(path)) {
        const std::string name = line.rest.substr(0, line.rest.find(' '));
        if (line.event == "msg" && std::find(only.begin(), only.end(), name) != only.end())
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
