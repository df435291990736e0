#include "kit_run.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

std::string Quoted(const fs::path& path)
{
    std::string quoted = "'";
    for (char c : path.string())
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

KitRun RunKit(const std::string& arguments)
{
    KitRun run;
    FILE* pipe = popen((std::string(SHELLKIT) + " " + arguments + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    std::string line;
    while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr) {
        line += buffer;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            run.lines.push_back(line);
            line.clear();
        }
    }
    if (!line.empty())
        run.lines.push_back(line);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

Scratch::Scratch()
{
    std::string pattern = (fs::temp_directory_path() / "shellkit-test-XXXXXX").string();
    root = mkdtemp(&pattern[0]);
}

Scratch::~Scratch()
{
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

fs::path WindowsBin(const std::string& file)
{
    return fs::path(WIN32_BIN) / file;
}

std::string NewArguments(const fs::path& folder, const std::string& name)
{
    return "new " + Quoted(folder) + " --name " + Quoted(name) + " --app-id 1001 --channel 7 --game " +
           Quoted(WindowsBin("demo-game.exe")) + " --background " + Quoted(WindowsBin("testdata/Background.jpg")) + " --arcade " +
           Quoted(WindowsBin("MorvessaArcade.dll")) + " --shell " + Quoted(WindowsBin("shell.exe"));
}

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}
