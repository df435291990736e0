#include "arcade_folder.h"

#include <fstream>

#include "arcade/ma_module_state.h"

static void ResetModuleState()
{
    ArcadeModuleState& state = ArcadeModuleState::Instance();
    state.ReleaseDll();
    state = ArcadeModuleState();
}

ArcadeFolder::ArcadeFolder()
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

void ArcadeFolder::Install(const std::string& builtDll, const std::string& relativeName) const
{
    CopyFileTo(builtDll, MakeFoldersFor(path + relativeName));
}

void ArcadeFolder::Write(const std::string& relativeName, const std::string& bytes) const
{
    std::ofstream(MakeFoldersFor(path + relativeName), std::ios::binary) << bytes;
}

bool ArcadeFolder::Exists(const std::string& relativeName) const
{
    return GetFileAttributesA((path + relativeName).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> ArcadeFolder::Calls(const std::string& exportName) const
{
    std::vector<std::string> lines;
    std::ifstream file(journal);
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (exportName.empty() || line.compare(0, exportName.size() + 1, exportName + " ") == 0 || line == exportName)
            lines.push_back(line);
    }
    return lines;
}

int LoadedDllVersion()
{
    HMODULE module = ArcadeModuleState::Instance().dllModule;
    auto version = reinterpret_cast<madll_GetDLLVersionAsInt_t>(
        reinterpret_cast<ArcadeEntry>(module ? GetProcAddress(module, "madll_GetDLLVersionAsInt") : nullptr));
    return version == nullptr ? -1 : version();
}
