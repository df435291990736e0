#include "arcade_folder.h"

#include <windows.h>

#include <fstream>

#include "arcade/ma_module_state.h"
#include "demo_game_control.h"

static void ResetModuleState()
{
    ArcadeModuleState& state = ArcadeModuleState::Instance();
    state.ReleaseDll();
    state = ArcadeModuleState();
}

ArcadeFolder::ArcadeFolder() : path(ProgramFolder() + "MorvessaArcade\\"), journal(scratch.File("arcade-journal.txt"))
{
    ResetModuleState();
    RemoveTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
}

ArcadeFolder::~ArcadeFolder()
{
    ResetModuleState();
    RemoveTree(path);
}

std::string ArcadeFolder::BuiltDll(const std::string& variant)
{
    return ProgramFolder() + (variant.empty() ? "" : "arcade-variants\\" + variant + "\\") + "MorvessaArcade.dll";
}

// The file's own folder is made when it is missing.
static std::string WithFolder(const std::string& target)
{
    CreateDirectoryA(target.substr(0, target.find_last_of('\\')).c_str(), nullptr);
    return target;
}

void ArcadeFolder::Install(const std::string& builtDll, const std::string& relativeName) const
{
    CopyFileTo(builtDll, WithFolder(path + relativeName));
}

void ArcadeFolder::Write(const std::string& relativeName, const std::string& bytes) const
{
    std::ofstream(WithFolder(path + relativeName), std::ios::binary) << bytes;
}

bool ArcadeFolder::Exists(const std::string& relativeName) const
{
    return GetFileAttributesA((path + relativeName).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ArcadeFolder::Settings(const std::string& lines) const
{
    Write("ArcadeTest.txt", lines + "\r\njournal=" + journal + "\r\n");
}

std::vector<std::string> ArcadeFolder::Calls(const std::string& exportName) const
{
    std::vector<std::string> lines;
    std::ifstream file(journal);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (exportName.empty() || line.compare(0, exportName.size() + 1, exportName + " ") == 0 || line == exportName)
            lines.push_back(line);
    }
    return lines;
}

void ArcadeFolder::ClearJournal() const
{
    DeleteFileA(journal.c_str());
}

int LoadedDllVersion()
{
    HMODULE module = ArcadeModuleState::Instance().dllModule;
    if (module == nullptr)
        return -1;
    auto version = reinterpret_cast<madll_GetDLLVersionAsInt_t>(
        reinterpret_cast<ArcadeEntry>(GetProcAddress(module, "madll_GetDLLVersionAsInt")));
    return version == nullptr ? -1 : version();
}
