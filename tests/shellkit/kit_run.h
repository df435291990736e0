#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// The native shellkit run as a publisher runs it, on real files in a temporary folder.
struct KitRun {
    int exitCode = -1;
    std::vector<std::string> lines;  // what it printed, both streams
};
KitRun RunKit(const std::string& arguments);
std::string Quoted(const fs::path& path);

// A temporary folder, removed with everything in it.
struct Scratch {
    fs::path root;
    Scratch();
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
};

// The Windows build's programs that a game folder is made of.
fs::path WindowsBin(const std::string& file);
// `shellkit new` arguments for a game of that name from the Windows build's programs.
std::string NewArguments(const fs::path& folder, const std::string& name);
std::string ReadText(const fs::path& path);
void WriteText(const fs::path& path, const std::string& bytes);
