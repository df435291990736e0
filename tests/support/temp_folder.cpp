#include "temp_folder.h"

#include <windows.h>

#include <fstream>

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found) != FALSE) {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(folder + name + "\\");
        else
            DeleteFileA((folder + name).c_str());
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    RemoveDirectoryA(folder.c_str());
}

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static unsigned serial;
    do
        path = std::string(base) + "mws" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
    while (!CreateDirectoryA(path.c_str(), nullptr));
    path += "\\";
}

TempFolder::~TempFolder()
{
    RemoveTree(path);
}

void TempFolder::Write(const std::string& name, const std::string& bytes) const
{
    std::ofstream file(File(name), std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool CopyFileTo(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}
