// Time to apply an arcade update of 10, 100 and 1000 files, to show that the cost grows
// linearly with the number of files. Runs beside MorvessaArcade.dll (build/win64/bin), with
// the arcade folder MorvessaArcade\ there, as a shell would.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "arcade/ma_module_state.h"

static std::string Folder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

static void Stage(const std::string& arcade, int files)
{
    const std::string update = arcade + "Update\\";
    CreateDirectoryA(update.c_str(), nullptr);
    CopyFileA((Folder() + "MorvessaArcade.dll").c_str(), (update + "MorvessaArcade.dll").c_str(), FALSE);
    for (int i = 0; i < files; ++i) {
        const std::string name = update + "Data" + std::to_string(i) + ".txt";
        HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, name.data(), static_cast<DWORD>(name.size()), &written, nullptr);
        CloseHandle(file);
    }
}

int main()
{
    // The arcade layer takes its folder from the program's path: MorvessaArcade\ beside it.
    const std::string arcade = Folder() + "MorvessaArcade\\";
    CreateDirectoryA(arcade.c_str(), nullptr);
    CopyFileA((Folder() + "MorvessaArcade.dll").c_str(), (arcade + "MorvessaArcade.dll").c_str(), FALSE);
    if (MA_Initialize(1, "Update Benchmark", 2, 0) != 0) {
        std::printf("the reference DLL did not load from %s\n", arcade.c_str());
        return 1;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::printf("%8s %12s %14s   (median of 7 runs)\n", "files", "update ms", "us per file");
    for (int files : {10, 100, 1000}) {
        std::vector<double> times;
        for (int run = 0; run < 7; ++run) {
            MA_ShutDown();
            Stage(arcade, files);
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            const bool applied = MA_ApplySystemUpdate();
            QueryPerformanceCounter(&end);
            if (!applied) {
                std::printf("update failed\n");
                return 1;
            }
            times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                            static_cast<double>(frequency.QuadPart));
        }
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        std::printf("%8d %12.2f %14.1f\n", files, median, 1000.0 * median / (files + 1));
    }
    MA_ShutDown();
    DeleteFolderTree(arcade.c_str());
    return 0;
}
