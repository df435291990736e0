#include "arcade_files.h"

#include <windows.h>

#include "settings.h"

std::string OwnModulePath()
{
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnModulePath), &self);
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadTextFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0)
        text.append(chunk, got);
    CloseHandle(file);
    return text;
}

bool WriteTextFile(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size();
}

static bool WriteIfMissing(const std::string& path, const std::string& text)
{
    return FileExists(path) || WriteTextFile(path, text);
}

bool PrepareArcadeFolder(const std::string& folder, const std::string& ownPath, unsigned applicationId,
                         unsigned channelId)
{
    const std::string backup = folder + "Backup\\";
    if (!FileExists(backup + "MorvessaArcade.dll")) {
        CreateDirectoryA(backup.c_str(), nullptr);
        CopyFileA(ownPath.c_str(), (backup + "MorvessaArcade.dll").c_str(), FALSE);
    }
    const bool application = WriteIfMissing(folder + "Application.dat", std::to_string(applicationId) + "\r\n");
    return WriteIfMissing(folder + "Channel.dat", std::to_string(channelId) + "\r\n") && application;
}

void WriteStateFile(const std::string& folder, const std::string& state)
{
    CreateDirectoryA((folder + "Arcade").c_str(), nullptr);
    WriteTextFile(folder + "Arcade\\state.txt", state);
}

bool IsUpToDate(const std::string& ownPath, const ArcadeSettings& settings)
{
    if (settings.updateSource.empty())
        return false;
    const std::string source = ReadTextFile(settings.updateSource);
    return !source.empty() && source == ReadTextFile(ownPath);
}

bool StageUpdate(const std::string& folder, const std::string& ownPath, const ArcadeSettings& settings)
{
    const std::string update = folder + "Update\\";
    CreateDirectoryA(update.c_str(), nullptr);
    const std::string source = settings.updateSource.empty() ? ownPath : settings.updateSource;
    bool ok = CopyFileA(source.c_str(), (update + "MorvessaArcade.dll").c_str(), FALSE) != 0;
    for (unsigned i = 1; i <= settings.updateFiles; ++i) {
        const std::string name = "Data" + std::to_string(i) + ".txt";
        ok = WriteTextFile(update + name, "Update data file " + std::to_string(i) + "\r\n") && ok;
    }
    const char* markers[] = {"Arcade.mvx", "Application.mvx", "Channel.mvx"};
    for (const char* marker : markers)
        ok = WriteTextFile(update + marker, "staged\r\n") && ok;
    return ok;
}
