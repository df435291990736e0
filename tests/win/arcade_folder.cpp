#include "arcade_folder.h"

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
    DeleteFolderTree(path.c_str());
    CreateDirectoryA(path.c_str(), nullptr);
}

ArcadeFolder::~ArcadeFolder()
{
    ResetModuleState();
    DeleteFolderTree(path.c_str());
}

std::string ArcadeFolder::BuiltDll(const std::string& variant)
{
    return ProgramFolder() + (variant.empty() ? "" : "arcade-variants\\" + variant + "\\") + "MorvessaArcade.dll";
}

void ArcadeFolder::Install(const std::string& builtDll, const std::string& relativeName) const
{
    CopyFileTo(builtDll, MakeFoldersFor(path + relativeName));
}

bool ArcadeFolder::Exists(const std::string& relativeName) const
{
    return GetFileAttributesA((path + relativeName).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> ArcadeFolder::Calls(const std::string& exportName) const
{
    std::vector<std::string> lines;
    for (const std::string& line : ReadLines(journal))
        if (exportName.empty() || line.compare(0, exportName.size() + 1, exportName + " ") == 0 || line == exportName)
            lines.push_back(line);
    return lines;
}

int LoadedDllVersion()
{
    HMODULE module = ArcadeModuleState::Instance().dllModule;
    auto version = reinterpret_cast<madll_GetDLLVersionAsInt_t>(
        reinterpret_cast<ArcadeEntry>(module ? GetProcAddress(module, "madll_GetDLLVersionAsInt") : nullptr));
    return version == nullptr ? -1 : version();
}
