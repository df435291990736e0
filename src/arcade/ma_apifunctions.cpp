#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string.h>

#include "arcade/ma_module_state.h"
#include "host/game_folder.h"
#include "host/module_directory.h"

// Only for checks in this file: the box names it with the line of the check.
#define MA_ASSERT(expression) \
    ((expression) ? (void)0 : MA_AssertionFailed("ma_apifunctions", __LINE__, #expression))

static const char kDllNotLoadedText[] =
    "The MorvessaArcade.dll file could not be loaded. If could be corrupted or in the wrong location. The correct "
    "location is within the \"MorvessaArcade\" subfolder which should be in the same folder as the application's exe "
    "file.";
static const char kUnrecoverableText[] =
    "Morvessa Arcade has encountered an unrecoverable error and cannot link to the dll. The application must be "
    "reinstalled.";
static const char kNoErrorInformationText[] = "Extended error information is not available for the last error.";

// One text per export, built once: lastError points at these for the life of the process.
static char missingExportTexts[EXPORT_COUNT][96];

ArcadeModuleState& ArcadeModuleState::Instance()
{
    static ArcadeModuleState state;
    return state;
}

void MA_AssertionFailed(const char* file, int line, const char* expression)
{
    char text[512];
    std::snprintf(text, sizeof(text), "Assertion failed!\n\nFile: %s\nLine: %d\n\nExpression: %s", file, line,
                  expression);
    MessageBoxA(nullptr, text, "MorvessaArcade API", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(3);
}

void ArcadeModuleState::RequireEntry(ArcadeExport which) const
{
    if (entryPoints[which] != nullptr)
        return;
    char expression[96];
    std::snprintf(expression, sizeof(expression), "%s != NULL", ArcadeExportNames[which]);
    MA_AssertionFailed("ma_apifunctions", __LINE__, expression);
}

void ArcadeModuleState::ReleaseDll()
{
    if (dllModule != nullptr)
        FreeLibrary(dllModule);
    dllModule = nullptr;
    std::memset(entryPoints, 0, sizeof(entryPoints));
}

bool JoinPath(char (&out)[MAX_PATH], const char* first, const char* second)
{
    const size_t firstLength = std::strlen(first);
    const size_t secondLength = std::strlen(second);
    if (firstLength + secondLength >= MAX_PATH) {
        out[0] = '\0';
        return false;
    }
    std::memmove(out, first, firstLength);
    std::memcpy(out + firstLength, second, secondLength + 1);
    return true;
}

ArcadeResult MA_Initialize(uint32_t applicationId, const char* pApplicationName, uint32_t developerChannelId,
                           uint16_t options)
{
    ArcadeModuleState& state = ArcadeModuleState::Instance();
    state.lastError = nullptr;
    state.paletteStored = false;

    char folder[MAX_PATH];
    GetModuleDirectory(folder, MAX_PATH);
    // Too deep a folder leaves the path empty: the DLL then fails to load instead of a cut path.
    char arcade[MAX_PATH];
    if (!JoinPath(arcade, folder, ARCADE_FOLDER_NAME) || !JoinPath(state.arcadeFolder, arcade, "\\"))
        state.arcadeFolder[0] = '\0';

    state.applicationId = applicationId;
    if (pApplicationName != nullptr) {
        MA_ASSERT(strlen(pApplicationName) < MAX_APPLICATION_NAME_LENGTH);
        std::strcpy(state.applicationName, pApplicationName);
    }
    state.developerChannelId = developerChannelId;
    state.initOptions = options;
    return MA_LoadAndLink(applicationId, pApplicationName, developerChannelId, options);
}

ArcadeResult MA_LoadAndLink(uint32_t applicationId, const char* pApplicationName, uint32_t developerChannelId,
                            uint16_t options)
{
    ArcadeModuleState& state = ArcadeModuleState::Instance();
    state.initialized = true;

    char dllPath[MAX_PATH];
    if (state.arcadeFolder[0] != '\0' && JoinPath(dllPath, state.arcadeFolder, ARCADE_DLL_NAME))
        state.dllModule = LoadLibraryA(dllPath);
    else
        state.dllModule = nullptr;
    if (state.dllModule == nullptr) {
        state.lastError = kDllNotLoadedText;
        return MA_RESULT_DLL_NOT_LOADED;
    }

    for (int i = 0; i < EXPORT_COUNT; ++i) {
        FARPROC address = GetProcAddress(state.dllModule, ArcadeExportNames[i]);
        if (address == nullptr) {
            state.ReleaseDll();
            char* text = missingExportTexts[i];
            std::snprintf(text, sizeof(missingExportTexts[i]), "Could not link to '%s' function within the dll.",
                          ArcadeExportNames[i]);
            state.lastError = text;
            return MA_RESULT_EXPORT_MISSING;
        }
        state.entryPoints[i] = reinterpret_cast<ArcadeEntry>(address);
        if (state.linkHook != nullptr)
            state.entryPoints[i] = state.linkHook(ArcadeExport(i), state.entryPoints[i]);
        if (i == EXPORT_GetDLLVersionAsString)
            state.Entry<madll_GetDLLVersionAsString_t>(EXPORT_GetDLLVersionAsString)();
        else if (i == EXPORT_GetDLLVersionAsInt)
            state.Entry<madll_GetDLLVersionAsInt_t>(EXPORT_GetDLLVersionAsInt)();
    }

    const ArcadeResult result = state.Entry<madll_Initialize_t>(EXPORT_Initialize)(
        applicationId, pApplicationName, developerChannelId, options, MADLL_INTERFACE_LEVEL);
    if (result != 0)
        state.ReleaseDll();
    return result;
}

void MA_CheckInitialized()
{
    if (!ArcadeModuleState::Instance().initialized)
        MessageBoxA(GetDesktopWindow(), "Must call MA_Initialize before any other API function.",
                    "Error In MorvessaArcade API Usage", MB_OK);
}

void MA_ShutDown()
{
    MA_CheckInitialized();
    ArcadeModuleState& state = ArcadeModuleState::Instance();
    if (state.unrecoverable)
        return;
    if (state.entryPoints[EXPORT_ShutDown] != nullptr)
        state.Entry<madll_ShutDown_t>(EXPORT_ShutDown)();
    state.ReleaseDll();
}

void MA_ShowReinstallMessage()
{
    MessageBoxA(GetDesktopWindow(),
                "This application appears to be become corrupted and must be reinstalled. If you have already "
                "purchased this application then you will still have the full version after the reinstallation.",
                "Application Error", MB_OK);
}

const char* MA_GetLastErrorInformation()
{
    MA_CheckInitialized();
    const ArcadeModuleState& state = ArcadeModuleState::Instance();
    if (state.unrecoverable)
        return kUnrecoverableText;
    if (state.lastError != nullptr)
        return state.lastError;
    if (state.entryPoints[EXPORT_GetLastErrorInformation] != nullptr)
        return state.Entry<madll_GetLastErrorInformation_t>(EXPORT_GetLastErrorInformation)();
    return kNoErrorInformationText;
}
