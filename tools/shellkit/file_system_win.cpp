#include <windows.h>

#include "file_system.h"

const char PATH_SEPARATOR = '\\';

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

uint64_t FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return 0;
    return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool ReadFileStart(const std::string& path, size_t most, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    uint8_t chunk[65536];
    while (bytes.size() < most) {
        const DWORD wanted = most - bytes.size() < sizeof(chunk) ? static_cast<DWORD>(most - bytes.size()) : sizeof(chunk);
        DWORD got = 0;
        if (!ReadFile(file, chunk, wanted, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    CloseHandle(file);
    return ok;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD request = bytes.size() - done > 1u << 20 ? 1u << 20 : static_cast<DWORD>(bytes.size() - done);
        DWORD wrote = 0;
        if (!WriteFile(file, bytes.data() + done, request, &wrote, nullptr) || wrote == 0)
            break;
        done += wrote;
    }
    const bool ok = CloseHandle(file) && done == bytes.size();
    if (!ok)
        DeleteFileA(path.c_str());
    return ok;
}

// The user's temporary folder is the user's alone: what is made in it inherits that.
bool WritePrivateFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    return WriteWholeFile(path, bytes);
}

bool MakePrivateFolder(std::string& path)
{
    char temporary[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof(temporary), temporary);
    if (length == 0 || length > MAX_PATH)
        return false;
    path = TemporarySibling(JoinPath(temporary, "shellkit"));
    return MakeFolder(path);
}

bool CopyOneFile(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), TRUE) != 0;
}

bool MakeFolder(const std::string& path)
{
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool RenamePath(const std::string& from, const std::string& to)
{
    return MoveFileA(from.c_str(), to.c_str()) != 0;
}

void RemoveTree(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(JoinPath(path, "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name != "." && name != "..")
                    RemoveTree(JoinPath(path, name));
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path.c_str());
        return;
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

bool AppendFilesBelow(const std::string& folder, const std::string& prefix, std::vector<FolderEntry>& files, int depth)
{
    if (depth > 32)
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            ok = AppendFilesBelow(JoinPath(folder, name), prefix + name + PATH_SEPARATOR, files, depth + 1) && ok;
        else
            files.push_back({prefix + name, (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return ok;
}

std::string AbsolutePath(const std::string& path)
{
    char full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof(full), full, nullptr);
    if (length == 0 || length >= sizeof(full))
        return path;
    return full;
}

// Command-line words come in the ANSI code page, like the paths.
bool ArgumentCodePoints(const std::string& argument, std::vector<uint32_t>& codePoints)
{
    codePoints.clear();
    if (argument.empty())
        return true;
    const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, argument.data(), static_cast<int>(argument.size()),
                                           nullptr, 0);
    if (length <= 0)
        return false;
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, argument.data(), static_cast<int>(argument.size()), wide.data(),
                        length);
    for (wchar_t unit : wide)
        codePoints.push_back(static_cast<uint16_t>(unit));
    return true;
}
