#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The few file operations the kit needs, on the platform's own calls: POSIX natively, the
// ANSI Win32 calls on Windows, so that paths are bytes in the same code page as the shell's.

extern const char PATH_SEPARATOR;

std::string JoinPath(const std::string& folder, const std::string& name);
bool PathExists(const std::string& path);
bool IsFolder(const std::string& path);
// The size of a plain file, 0 when there is none.
uint64_t FileSize(const std::string& path);
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
// At most `most` bytes from the start of a plain file.
bool ReadFileStart(const std::string& path, size_t most, std::vector<uint8_t>& bytes);
// Writes all of bytes or, on failure, leaves no file behind.
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
// A new folder in the system's temporary folder that only this user can enter (0700), and a
// file in it only this user can read (0600), private from the moment it exists.
bool MakePrivateFolder(std::string& path);
bool WritePrivateFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool CopyOneFile(const std::string& from, const std::string& to);
bool MakeFolder(const std::string& path);
// Fails when `to` exists.
bool RenamePath(const std::string& from, const std::string& to);
void RemoveTree(const std::string& path);
// Plain files below folder, as paths relative to it (with PATH_SEPARATOR), sorted; sizes alike.
struct FolderEntry {
    std::string relativePath;
    uint64_t size;
};
bool ListFilesBelow(const std::string& folder, std::vector<FolderEntry>& files);
// The platform's half of it: appends what lies below folder, unsorted, its paths after prefix.
bool AppendFilesBelow(const std::string& folder, const std::string& prefix, std::vector<FolderEntry>& files,
                      int depth);
// The folder part of a path ("" for a bare name) and the last component.
std::string ParentOf(const std::string& path);
std::string LastComponent(const std::string& path);
// A path relative to the working directory made absolute; left as is when already absolute.
std::string AbsolutePath(const std::string& path);
// A command-line word's characters; false when its bytes are not text of the platform's encoding.
bool ArgumentCodePoints(const std::string& argument, std::vector<uint32_t>& codePoints);
// A unique name for a file or folder that does not exist yet, beside `near`.
std::string TemporarySibling(const std::string& near);
