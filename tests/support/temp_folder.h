#pragma once
#include <string>

// A fresh folder under the temporary directory, removed with its files when it goes.
struct TempFolder {
    std::string path;  // with a trailing backslash

    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string File(const std::string& name) const { return path + name; }
    void Write(const std::string& name, const std::string& bytes) const;
};

bool CopyFileTo(const std::string& from, const std::string& to);
// Deletes a folder (given with its trailing backslash) and everything in it, read-only files too.
void RemoveTree(const std::string& folder);
