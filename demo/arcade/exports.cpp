// The exports: each journals its call and hands the work to the Arcade. A variant DLL that
// lacks one export is built with ARCADE_WITHOUT_<export name> defined.
#include "arcade/morvessa_arcade.h"
#include "arcade.h"

#ifndef ARCADE_VERSION
#define ARCADE_VERSION 1
#endif
#define ARCADE_TEXT(x) #x
#define ARCADE_VERSION_TEXT(x) ARCADE_TEXT(x) ".0"

namespace {

Journal& Log()
{
    return Arcade::Instance().journal;
}

std::string Flag(bool value)
{
    return value ? "1" : "0";
}

std::string Number(unsigned long long value)
{
    return std::to_string(value);
}

}  // namespace

// Threads as the DLL meets them in the shell's process, which has only its one GUI thread.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if ((reason == DLL_THREAD_ATTACH || reason == DLL_THREAD_DETACH) && Log().Enabled())
        Log().Write(reason == DLL_THREAD_ATTACH ? "thread attach" : "thread detach");
    return TRUE;
}

#ifndef ARCADE_WITHOUT_madll_GetDLLVersionAsString
const char* MADLL_CALL madll_GetDLLVersionAsString(void)
{
    const char* version = ARCADE_VERSION_TEXT(ARCADE_VERSION);
    if (Log().Enabled())
        Log().Write("madll_GetDLLVersionAsString" + Arrow(Quoted(version)));
    return version;
}
#endif

#ifndef ARCADE_WITHOUT_madll_GetDLLVersionAsInt
int MADLL_CALL madll_GetDLLVersionAsInt(void)
{
    if (Log().Enabled())
        Log().Write("madll_GetDLLVersionAsInt" + Arrow(Number(ARCADE_VERSION)));
    return ARCADE_VERSION;
}
#endif

#ifndef ARCADE_WITHOUT_madll_Initialize
unsigned short MADLL_CALL madll_Initialize(unsigned int applicationId, const char* applicationName,
                                           unsigned int developerChannelId, unsigned short options,
                                           unsigned int interfaceLevel)
{
    Arcade& arcade = Arcade::Instance();
    const unsigned short result = arcade.Initialize(applicationId, developerChannelId);
    if (Log().Enabled()) {
        Log().Write("madll_Initialize " + Number(applicationId) + " " + Quoted(applicationName) + " " +
                    Number(developerChannelId) + " " + Number(options) + " " + Number(interfaceLevel) +
                    Arrow(Number(result)));
    }
    return result;
}
#endif

#ifndef ARCADE_WITHOUT_madll_ShutDown
void MADLL_CALL madll_ShutDown(void)
{
    if (Log().Enabled())
        Log().Write("madll_ShutDown");
    Arcade::Instance().ShutDown();
}
#endif

#ifndef ARCADE_WITHOUT_madll_EnterMenuSession
unsigned short MADLL_CALL madll_EnterMenuSession(unsigned short mode, unsigned int width, unsigned int height)
{
    const unsigned short result = Arcade::Instance().EnterMenuSession(mode, width, height);
    if (Log().Enabled())
        Log().Write("madll_EnterMenuSession " + Number(mode) + " " + Number(width) + " " + Number(height) +
                    Arrow(Number(result)));
    return result;
}
#endif

#ifndef ARCADE_WITHOUT_madll_IsTheMenuSessionComplete
bool MADLL_CALL madll_IsTheMenuSessionComplete(void)
{
    const bool complete = Arcade::Instance().catalogue.complete;
    if (Log().Enabled())
        Log().Write("madll_IsTheMenuSessionComplete" + Arrow(Flag(complete)));
    return complete;
}
#endif

#ifndef ARCADE_WITHOUT_madll_DrawNextFrameIntoBuffer
void MADLL_CALL madll_DrawNextFrameIntoBuffer(unsigned char* pixels, unsigned int stride, unsigned short bytesPerPixel,
                                              unsigned short repaint, bool updateRolledBack, bool rollbackNotice)
{
    if (Log().Enabled()) {
        Log().Write("madll_DrawNextFrameIntoBuffer stride=" + Number(stride) + " bpp=" + Number(bytesPerPixel) +
                    " repaint=" + Number(repaint) + " rolledBack=" + Flag(updateRolledBack) +
                    " notice=" + Flag(rollbackNotice));
    }
    Arcade::Instance().DrawFrame(pixels, stride, bytesPerPixel, repaint, updateRolledBack, rollbackNotice);
}
#endif

#ifndef ARCADE_WITHOUT_madll_GetNumberOfRectsToUpdate
int MADLL_CALL madll_GetNumberOfRectsToUpdate(void)
{
    Arcade& arcade = Arcade::Instance();
    const int count = arcade.faults.Count(arcade.catalogue.DirtyCount());
    if (Log().Enabled())
        Log().Write("madll_GetNumberOfRectsToUpdate" + Arrow(std::to_string(count)));
    return count;
}
#endif

#ifndef ARCADE_WITHOUT_madll_GetUpdateRect
RECT MADLL_CALL madll_GetUpdateRect(int index)
{
    Arcade& arcade = Arcade::Instance();
    const RECT rect = arcade.faults.Rect(index, arcade.catalogue.DirtyRect(index), arcade.catalogue.height);
    if (Log().Enabled()) {
        Log().Write("madll_GetUpdateRect " + std::to_string(index) +
                    Arrow(std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
                          std::to_string(rect.right) + " " + std::to_string(rect.bottom)));
    }
    return rect;
}
#endif

#ifndef ARCADE_WITHOUT_madll_HandleWindowsMessage
// As a DLL may take WM_PAINT: it validates the window and paints its own picture, in magenta.
static bool PaintOver(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 255));
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return true;
}

bool MADLL_CALL madll_HandleWindowsMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    bool consumed = Arcade::Instance().HandleMessage(message, wParam, lParam);
    if (message == WM_PAINT && Arcade::Instance().settings.paintOver)
        consumed = PaintOver(window);
    if (Log().Enabled()) {
        Log().Write("madll_HandleWindowsMessage msg=" + Hex(message, 4) + " wparam=" + Hex(wParam, 1) +
                    " lparam=" + Hex(static_cast<ULONG_PTR>(lParam), 1) +
                    " hwnd=" + Hex(reinterpret_cast<ULONG_PTR>(window), 1) + Arrow(Flag(consumed)));
    }
    return consumed;
}
#endif

#ifndef ARCADE_WITHOUT_madll_SetPalette
void MADLL_CALL madll_SetPalette(const unsigned char* palette)
{
    Arcade::Instance().SetPalette(palette);
    if (Log().Enabled()) {
        Log().Write(palette ? "madll_SetPalette first=" + Number(palette[0]) + "," + Number(palette[1]) + "," +
                                  Number(palette[2])
                            : std::string("madll_SetPalette first=(null)"));
    }
}
#endif

#ifndef ARCADE_WITHOUT_madll_GetValueAsString
const char* MADLL_CALL madll_GetValueAsString(const char* name)
{
    const char* value = Arcade::Instance().Value(name ? name : "");
    if (Log().Enabled())
        Log().Write("madll_GetValueAsString " + Quoted(name) + Arrow(Quoted(value)));
    return value;
}
#endif

#ifndef ARCADE_WITHOUT_madll_GetValueAsInt
int MADLL_CALL madll_GetValueAsInt(const char* name)
{
    if (Log().Enabled())
        Log().Write("madll_GetValueAsInt " + Quoted(name) + Arrow("0"));
    return 0;
}
#endif

#ifndef ARCADE_WITHOUT_madll_GetValueAsFloat
float MADLL_CALL madll_GetValueAsFloat(const char* name)
{
    if (Log().Enabled())
        Log().Write("madll_GetValueAsFloat " + Quoted(name) + Arrow("0.0"));
    return 0.0f;
}
#endif

#ifndef ARCADE_WITHOUT_madll_IsASystemUpdateRequired
bool MADLL_CALL madll_IsASystemUpdateRequired(void)
{
    const bool required = Arcade::Instance().updateRequired;
    if (Log().Enabled())
        Log().Write("madll_IsASystemUpdateRequired" + Arrow(Flag(required)));
    return required;
}
#endif

#ifndef ARCADE_WITHOUT_madll_GetLastErrorInformation
const char* MADLL_CALL madll_GetLastErrorInformation(void)
{
    const char* text = Arcade::Instance().lastError;
    if (Log().Enabled())
        Log().Write("madll_GetLastErrorInformation" + Arrow(Quoted(text)));
    return text;
}
#endif
