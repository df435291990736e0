// The exports that take arguments, as a vendor writes them who declares them __stdcall: the
// variants' .def files export these under the shell's plain names or under their decorated
// ones. Exports without arguments are the same in both conventions and stay as they are.
#include "arcade/morvessa_arcade.h"

extern "C" {

unsigned short __stdcall stdcall_madll_Initialize(unsigned int applicationId, const char* applicationName,
                                                  unsigned int developerChannelId, unsigned short options,
                                                  unsigned int interfaceLevel)
{
    return madll_Initialize(applicationId, applicationName, developerChannelId, options, interfaceLevel);
}

unsigned short __stdcall stdcall_madll_EnterMenuSession(unsigned short mode, unsigned int width, unsigned int height)
{
    return madll_EnterMenuSession(mode, width, height);
}

void __stdcall stdcall_madll_DrawNextFrameIntoBuffer(unsigned char* pixels, unsigned int stride,
                                                     unsigned short bytesPerPixel, unsigned short repaint,
                                                     bool updateRolledBack, bool rollbackNotice)
{
    madll_DrawNextFrameIntoBuffer(pixels, stride, bytesPerPixel, repaint, updateRolledBack, rollbackNotice);
}

RECT __stdcall stdcall_madll_GetUpdateRect(int index)
{
    return madll_GetUpdateRect(index);
}

bool __stdcall stdcall_madll_HandleWindowsMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return madll_HandleWindowsMessage(window, message, wParam, lParam);
}

void __stdcall stdcall_madll_SetPalette(const unsigned char* palette)
{
    madll_SetPalette(palette);
}

const char* __stdcall stdcall_madll_GetValueAsString(const char* name)
{
    return madll_GetValueAsString(name);
}

int __stdcall stdcall_madll_GetValueAsInt(const char* name)
{
    return madll_GetValueAsInt(name);
}

float __stdcall stdcall_madll_GetValueAsFloat(const char* name)
{
    return madll_GetValueAsFloat(name);
}
}
