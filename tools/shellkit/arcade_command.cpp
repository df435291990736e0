// `shellkit arcade`: checks an arcade DLL the way the shell will use it. The DLL runs in a
// child process of this program, watched from here, so that a DLL that crashes, hangs, shows a
// box or ends its process is reported like any other fault. A handler inside one process could
// not survive a DLL that corrupts its heap or its stack; a second process can.
#include <windows.h>

#include <cstdio>

#include "arcade_child.h"
#include "arcade_update.h"
#include "arguments.h"
#include "commands.h"
#include "file_system.h"
#include "pe_image.h"
#include "rules.h"

namespace {

bool ReadCount(const Arguments& arguments, const char* flag, int fallback, int& value, std::string& error)
{
    const std::string text = arguments.Get(flag, std::to_string(fallback));
    if (!NumberProblem(text).empty() || text.size() > 6 || std::stoi(text) < 1) {
        error = std::string(flag) + " takes a number from 1 to 999999";
        return false;
    }
    value = std::stoi(text);
    return true;
}

bool ReadSettings(const Arguments& arguments, ArcadeRunSettings& settings, std::string& error)
{
    for (const char* flag : {"--app-id", "--channel"}) {
        const std::string problem = NumberProblem(arguments.Get(flag, "1"));
        if (!problem.empty()) {
            error = std::string(flag) + ": " + problem;
            return false;
        }
    }
    settings.applicationId = static_cast<uint32_t>(std::stoul(arguments.Get("--app-id", "1001")));
    settings.channelId = static_cast<uint32_t>(std::stoul(arguments.Get("--channel", "7")));
    settings.applicationName = arguments.Get("--name", settings.applicationName);
    settings.pictures = arguments.Get("--pictures");
    return ReadCount(arguments, "--frames", settings.frames, settings.frames, error) &&
           ReadCount(arguments, "--sessions", settings.sessions, settings.sessions, error);
}

std::string Quote(const std::string& word)
{
    return "\"" + word + "\"";
}

// Runs the child and watches it; what it could not report itself is reported here.
void Watch(const std::string& commandLine, const std::string& folder, ArcadeProbe* probe, Report& report,
           const std::string& shown)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup, &process)) {
        report.Error(shown, 0, "the checking process could not be started (error " +
                                   std::to_string(GetLastError()) + ")");
        return;
    }
    CloseHandle(process.hThread);
    bool hung = false;
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        if (probe->inCall && GetTickCount() - probe->callStart > ARCADE_HANG_MS) {
            hung = true;
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
            break;
        }
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    if (hung) {
        report.Error(shown, 0, probe->Where() + ": did not return within " + std::to_string(ARCADE_HANG_MS / 1000) +
                                   " s: the shell hangs with it");
    } else if (probe->crash[0] != '\0') {
        report.Error(shown, 0, probe->crash);
    } else if (!probe->finished) {
        char code[16];
        std::snprintf(code, sizeof(code), "0x%08lX", static_cast<unsigned long>(exitCode));
        report.Error(shown, 0, probe->Where() + ": the process ended with exit code " + code +
                                   ": the shell's process ends with it");
    }
}

}  // namespace

int RunArcade(int argc, char** argv)
{
    Arguments arguments;
    std::string error;
    ArcadeRunSettings settings;
    if (!arguments.Parse(argc, argv, {}, {"--app-id", "--name", "--channel", "--frames", "--sessions", "--pictures",
                                          "--probe", "--shown"},
                         error) ||
        !ReadSettings(arguments, settings, error)) {
        std::fprintf(stderr, "shellkit arcade: %s\n", error.c_str());
        return 2;
    }
    const std::string shown = arguments.Get("--shown", arguments.folder);
    settings.dllPath = AbsolutePath(arguments.folder);
    settings.folder = ContainingFolder(settings.dllPath);
    if (!settings.pictures.empty())
        settings.pictures = AbsolutePath(settings.pictures);

    if (arguments.Has("--probe")) {
        HANDLE mapping = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(std::stoull(arguments.Get("--probe"))));
        auto* probe = static_cast<ArcadeProbe*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(ArcadeProbe)));
        return probe != nullptr ? RunArcadeChild(settings, shown, probe) : 2;
    }

    std::vector<uint8_t> bytes;
    PeImage image;
    if (!ReadWholeFile(settings.dllPath, bytes) || !image.Read(bytes, error)) {
        std::fprintf(stderr, "shellkit arcade: %s: %s\n", shown.c_str(),
                     bytes.empty() ? "cannot be read" : error.c_str());
        return 2;
    }
    if (lstrcmpiA(LastComponent(settings.dllPath).c_str(), "MorvessaArcade.dll") != 0) {
        std::fprintf(stderr, "shellkit arcade: %s: the shell loads its arcade DLL only as MorvessaArcade.dll\n",
                     shown.c_str());
        return 2;
    }
    if (image.machine != BUILD_MACHINE) {
        std::fprintf(stderr,
                     "shellkit arcade: %s: built for %s; this shellkit.exe is built for %s and loads only DLLs of "
                     "its own kind: check it with the shellkit.exe of the %s build\n",
                     shown.c_str(), MachineName(image.machine), MachineName(BUILD_MACHINE),
                     image.machine == MACHINE_AMD64 ? "win64" : "win32");
        return 2;
    }

    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, &inherit, PAGE_READWRITE, 0, sizeof(ArcadeProbe), nullptr);
    auto* probe = mapping ? static_cast<ArcadeProbe*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(ArcadeProbe)))
                          : nullptr;
    if (probe == nullptr) {
        std::fprintf(stderr, "shellkit arcade: no shared memory for the checking process\n");
        return 2;
    }
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = Quote(self) + " arcade " + Quote(settings.dllPath) + " --shown " + Quote(shown) +
                          " --probe " + std::to_string(reinterpret_cast<ULONG_PTR>(mapping)) + " --app-id " +
                          std::to_string(settings.applicationId) + " --channel " + std::to_string(settings.channelId) +
                          " --name " + Quote(settings.applicationName) + " --frames " +
                          std::to_string(settings.frames) + " --sessions " + std::to_string(settings.sessions);
    if (!settings.pictures.empty())
        command += " --pictures " + Quote(settings.pictures);
    std::fflush(stdout);
    Report report;
    // The shell's working directory is the game's folder, the one above the arcade folder.
    Watch(command, ContainingFolder(settings.folder), probe, report, shown);
    const int errors = probe->errors + report.errors;
    const int warnings = probe->warnings + report.warnings;
    std::printf("%s: %d error(s), %d warning(s)\n", shown.c_str(), errors, warnings);
    UnmapViewOfFile(probe);
    CloseHandle(mapping);
    return errors > 0 ? 1 : 0;
}
