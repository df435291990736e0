#include "arcade_update.h"

#include <vector>

#include "file_system.h"
#include "rules.h"

void CheckStagedUpdate(const std::string& arcadeFolder, const std::string& shownFolder, const std::string& gameName,
                       uint16_t machine, Report& report)
{
    const std::string update = JoinPath(arcadeFolder, "Update");
    const std::string shownUpdate = JoinPath(shownFolder, "Update");
    const std::string dll = JoinPath(update, "MorvessaArcade.dll");
    if (PathExists(dll))
        CheckArcadeDll(dll, JoinPath(shownUpdate, "MorvessaArcade.dll"), machine, report,
                       "the shell cannot link the update and rolls back to Backup\\");
    // Each file lies in "Update\" first, then in the arcade folder.
    std::vector<FolderEntry> staged;
    ListFilesBelow(update, staged);
    for (const char* place : {"MorvessaArcade\\Update\\", "MorvessaArcade\\"}) {
        std::vector<FolderEntry> placed = staged;
        for (FolderEntry& file : placed)
            file.relativePath = place + file.relativePath;
        CheckInstalledPaths(placed, ParentOf(shownFolder), gameName, "", machine, report);
    }
}

bool CopyFolderTree(const std::string& from, const std::string& to)
{
    std::vector<FolderEntry> files;
    if (!MakeFolder(to) || !ListFilesBelow(from, files))
        return false;
    bool copied = true;
    for (const FolderEntry& file : files) {
        const std::string target = JoinPath(to, file.relativePath);
        std::vector<std::string> missing;
        for (std::string step = ParentOf(target); step.size() > to.size() && !IsFolder(step); step = ParentOf(step))
            missing.push_back(step);
        for (auto it = missing.rbegin(); it != missing.rend(); ++it)
            MakeFolder(*it);
        copied = CopyOneFile(JoinPath(from, file.relativePath), target) && copied;
    }
    return copied;
}

std::string ContainingFolder(const std::string& path)
{
    const std::string parent = ParentOf(path);
    if (parent.empty())
        return ".";
    return parent.size() > 1 && parent.back() == PATH_SEPARATOR ? parent.substr(0, parent.size() - 1) : parent;
}
