#include <windows.h>

#include <cstring>

#include "arcade/ma_module_state.h"

bool DeleteFileForced(const char* path)
{
    // Read-only files go too.
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path) != 0;
}

bool DeleteArcadeFile(const char* name)
{
    char path[MAX_PATH];
    return JoinPath(path, ArcadeModuleState::Instance().arcadeFolder, name) && DeleteFileForced(path);
}

bool MoveFolderFiles(const char* destination, const char* source)
{
    bool allMoved = true;
    char pattern[MAX_PATH];
    if (!JoinPath(pattern, source, "*.*"))
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return true;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        char oldPath[MAX_PATH];
        char newPath[MAX_PATH];
        // A path that does not fit is refused: that file counts as not moved.
        if (!JoinPath(oldPath, source, found.cFileName) || !JoinPath(newPath, destination, found.cFileName)) {
            allMoved = false;
            continue;
        }
        DeleteFileForced(newPath);
        if (!MoveFileA(oldPath, newPath))
            allMoved = false;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return allMoved;
}

void DeleteFolderTree(const char* folder)
{
    char base[MAX_PATH];
    const size_t length = std::strlen(folder);
    const bool hasSeparator = length > 0 && (folder[length - 1] == '\\' || folder[length - 1] == '/');
    if (!JoinPath(base, folder, hasSeparator ? "" : "\\"))
        return;
    char pattern[MAX_PATH];
    if (!JoinPath(pattern, base, "*.*"))
        return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0)
                continue;
            char child[MAX_PATH];
            if (!JoinPath(child, base, found.cFileName))
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteFolderTree(child);
            else
                DeleteFileForced(child);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(base);
}

static void RestoreBackup(ArcadeModuleState& state, const char* backupPath)
{
    state.updateRolledBack = true;
    state.rollbackNotice = true;
    MoveFolderFiles(state.arcadeFolder, backupPath);
}

static bool Reload(ArcadeModuleState& state)
{
    return MA_LoadAndLink(state.applicationId, state.applicationName, state.developerChannelId, state.initOptions) ==
           0;
}

bool MA_ApplySystemUpdate()
{
    ArcadeModuleState& state = ArcadeModuleState::Instance();
    char updatePath[MAX_PATH];
    char backupPath[MAX_PATH];
    JoinPath(updatePath, state.arcadeFolder, "Update\\");
    JoinPath(backupPath, state.arcadeFolder, "Backup\\");

    if (!MoveFolderFiles(state.arcadeFolder, updatePath)) {
        DeleteFolderTree(updatePath);
        DeleteArcadeFile("Application.dat");
        DeleteArcadeFile("Channel.dat");
        RestoreBackup(state, backupPath);
    }
    char arcadePath[MAX_PATH];
    if (JoinPath(arcadePath, state.arcadeFolder, "Arcade"))
        DeleteFolderTree(arcadePath);

    if (Reload(state))
        return true;
    RestoreBackup(state, backupPath);
    return Reload(state);
}
