#include "arcade_growth.h"

#include <tlhelp32.h>

namespace {

// Room for what a DLL fills once, late, such as a cache or a font.
const DWORD HANDLE_ALLOWANCE = 16;
const DWORD GDI_ALLOWANCE = 16;
const DWORD USER_ALLOWANCE = 8;
const SIZE_T MEMORY_ALLOWANCE = 4u << 20;

void Compare(std::vector<std::string>& lines, const char* what, SIZE_T from, SIZE_T to, SIZE_T allowance,
             const char* unit)
{
    if (to <= from || to - from <= allowance)
        return;
    lines.push_back(std::string(what) + " grew from " + std::to_string(from) + " to " + std::to_string(to) + unit +
                    " (allowance " + std::to_string(allowance) + unit + ")");
}

}  // namespace

ResourceLevels ResourceLevels::Now()
{
    ResourceLevels levels;
    HANDLE self = GetCurrentProcess();
    GetProcessHandleCount(self, &levels.handles);
    levels.gdiObjects = GetGuiResources(self, GR_GDIOBJECTS);
    levels.userObjects = GetGuiResources(self, GR_USEROBJECTS);
    // Counted from the address space itself: every platform answers that.
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof(region)) == sizeof(region);
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            levels.privateBytes += region.RegionSize;
    }
    return levels;
}

std::vector<std::string> ResourceLevels::GrowthSince(const ResourceLevels& start) const
{
    std::vector<std::string> lines;
    Compare(lines, "handles", start.handles, handles, HANDLE_ALLOWANCE, "");
    Compare(lines, "GDI objects", start.gdiObjects, gdiObjects, GDI_ALLOWANCE, "");
    Compare(lines, "USER objects", start.userObjects, userObjects, USER_ALLOWANCE, "");
    Compare(lines, "private memory", start.privateBytes / 1024, privateBytes / 1024, MEMORY_ALLOWANCE / 1024, " KB");
    return lines;
}

std::vector<DWORD> RunningThreads()
{
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    const DWORD self = GetCurrentProcessId();
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == self)
            ids.push_back(entry.th32ThreadID);
    }
    CloseHandle(snapshot);
    return ids;
}
