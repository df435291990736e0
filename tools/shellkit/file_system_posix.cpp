#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "code_page.h"
#include "file_system.h"

const char PATH_SEPARATOR = '/';

bool PathExists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

bool IsFolder(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

uint64_t FileSize(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? static_cast<uint64_t>(info.st_size) : 0;
}

bool ReadFileStart(const std::string& path, size_t most, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return false;
    }
    uint8_t chunk[65536];
    while (bytes.size() < most) {
        const size_t wanted = most - bytes.size() < sizeof(chunk) ? most - bytes.size() : sizeof(chunk);
        const ssize_t got = read(fd, chunk, wanted);
        if (got < 0) {
            close(fd);
            return false;
        }
        if (got == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    close(fd);
    return true;
}

namespace {

bool WriteNewFile(const std::string& path, const std::vector<uint8_t>& bytes, mode_t mode)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, mode);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote <= 0)
            break;
        done += static_cast<size_t>(wrote);
    }
    const bool ok = close(fd) == 0 && done == bytes.size();
    if (!ok)
        unlink(path.c_str());
    return ok;
}

}  // namespace

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    return WriteNewFile(path, bytes, 0644);
}

bool WritePrivateFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    return WriteNewFile(path, bytes, 0600);
}

bool MakePrivateFolder(std::string& path)
{
    const char* temporary = std::getenv("TMPDIR");
    std::string pattern = JoinPath(temporary != nullptr && *temporary != '\0' ? temporary : "/tmp", "shellkit-XXXXXX");
    if (mkdtemp(&pattern[0]) == nullptr)
        return false;
    path = pattern;
    return true;
}

bool CopyOneFile(const std::string& from, const std::string& to)
{
    std::vector<uint8_t> bytes;
    return ReadWholeFile(from, bytes) && WriteWholeFile(to, bytes);
}

bool MakeFolder(const std::string& path)
{
    return mkdir(path.c_str(), 0755) == 0;
}

bool RenamePath(const std::string& from, const std::string& to)
{
    // rename() would replace an empty folder or a file; a link refuses what exists.
    if (PathExists(to))
        return false;
    return rename(from.c_str(), to.c_str()) == 0;
}

void RemoveTree(const std::string& path)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0)
        return;
    if (S_ISDIR(info.st_mode)) {
        if (DIR* dir = opendir(path.c_str())) {
            while (const dirent* entry = readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..")
                    RemoveTree(JoinPath(path, name));
            }
            closedir(dir);
        }
        rmdir(path.c_str());
        return;
    }
    unlink(path.c_str());
}

bool AppendFilesBelow(const std::string& folder, const std::string& prefix, std::vector<FolderEntry>& files, int depth)
{
    if (depth > 32)
        return false;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return false;
    bool ok = true;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string full = JoinPath(folder, name);
        struct stat info;
        if (stat(full.c_str(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode))
            ok = AppendFilesBelow(full, prefix + name + PATH_SEPARATOR, files, depth + 1) && ok;
        else if (S_ISREG(info.st_mode))
            files.push_back({prefix + name, static_cast<uint64_t>(info.st_size)});
    }
    closedir(dir);
    return ok;
}

std::string AbsolutePath(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    char here[PATH_MAX];
    if (getcwd(here, sizeof(here)) == nullptr)
        return path;
    return JoinPath(here, path);
}

// Command-line words come as the locale's text, UTF-8 on the systems the kit runs on.
bool ArgumentCodePoints(const std::string& argument, std::vector<uint32_t>& codePoints)
{
    return DecodeUtf8(argument, codePoints);
}
