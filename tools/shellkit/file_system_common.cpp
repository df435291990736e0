#include "file_system.h"

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <ctime>

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    const char last = folder.back();
    if (last == PATH_SEPARATOR || last == '/')
        return folder + name;
    return folder + PATH_SEPARATOR + name;
}

static size_t LastSeparator(const std::string& path)
{
    size_t end = path.size();
    while (end > 1 && (path[end - 1] == PATH_SEPARATOR || path[end - 1] == '/'))
        --end;
    const size_t slash = path.find_last_of(std::string("/") + PATH_SEPARATOR, end - 1);
    return slash;
}

std::string ParentOf(const std::string& path)
{
    const size_t at = LastSeparator(path);
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string LastComponent(const std::string& path)
{
    const size_t at = LastSeparator(path);
    std::string last = at == std::string::npos ? path : path.substr(at + 1);
    while (!last.empty() && (last.back() == PATH_SEPARATOR || last.back() == '/'))
        last.pop_back();
    return last;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    return ReadFileStart(path, SIZE_MAX, bytes);
}

std::string TemporarySibling(const std::string& near)
{
    std::string base = near;
    while (base.size() > 1 && (base.back() == PATH_SEPARATOR || base.back() == '/'))
        base.pop_back();
    static unsigned counter = 0;
    for (;;) {
        char suffix[48];
        std::snprintf(suffix, sizeof(suffix), ".shellkit-%lx-%u", static_cast<unsigned long>(std::time(nullptr)),
                      ++counter);
        if (!PathExists(base + suffix))
            return base + suffix;
    }
}

bool ListFilesBelow(const std::string& folder, std::vector<FolderEntry>& files)
{
    files.clear();
    const bool ok = AppendFilesBelow(folder, "", files, 0);
    std::sort(files.begin(), files.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.relativePath < b.relativePath; });
    return ok;
}
