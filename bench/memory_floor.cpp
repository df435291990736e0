// The least a program holds while it shows a closing screen: the arcade DLL loaded and
// initialised, OLE with the background picture, a 720 x 540 frame buffer drawn (the picture and
// a line of text in one font) and shown every 20 ms. Its peak resident set is the floor that the
// shell's is measured against. The command line is the game folder to run in.
#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include "arcade/morvessa_arcade.h"

static IPicture* LoadPicture(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const DWORD size = GetFileSize(file, nullptr);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    DWORD read = 0;
    ReadFile(file, GlobalLock(block), size, &read, nullptr);
    GlobalUnlock(block);
    CloseHandle(file);
    IStream* stream = nullptr;
    void* picture = nullptr;
    if (SUCCEEDED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        OleLoadPicture(stream, 0, FALSE, IID_IPicture, &picture);
        stream->Release();
    }
    return static_cast<IPicture*>(picture);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR folder, int)
{
    SetCurrentDirectoryA(folder);
    HMODULE arcade = LoadLibraryA("MorvessaArcade\\MorvessaArcade.dll");
    const madll_Initialize_t initialize =
        reinterpret_cast<madll_Initialize_t>(reinterpret_cast<void*>(GetProcAddress(arcade, "madll_Initialize")));
    if (initialize == nullptr || initialize(1, "Sample Game", 0, 0, MADLL_INTERFACE_LEVEL) != 0)
        return 1;
    IPicture* picture = LoadPicture("Background.jpg");
    if (picture == nullptr)
        return 2;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture->get_Width(&width);
    picture->get_Height(&height);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "MorvessaMemoryFloor";
    RegisterClassA(&windowClass);
    RECT outer = {0, 0, 720, 540};
    AdjustWindowRectEx(&outer, WS_CAPTION | WS_SYSMENU, FALSE, 0);
    HWND window = CreateWindowExA(0, "MorvessaMemoryFloor", "floor", WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0,
                                  outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 720;
    info.bmiHeader.biHeight = -540;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HDC windowDC = GetDC(window);
    HBITMAP frame = CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(window, windowDC);
    HFONT font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             PROOF_QUALITY, DEFAULT_PITCH, "Arial Bold");

    DWORD last = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, window, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(15);
        if (GetTickCount() - last < 20)
            continue;
        last = GetTickCount();
        HDC dc = GetDC(window);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ previousBitmap = SelectObject(memory, frame);
        picture->Render(memory, 0, 0, 720, 540, 0, height, width, -height, nullptr);
        HGDIOBJ previousFont = SelectObject(memory, font);
        SetBkMode(memory, TRANSPARENT);
        TextOutA(memory, 460, 30, "This window will automaticaly close in 20 Seconds.", 50);
        SelectObject(memory, previousFont);
        BitBlt(dc, 0, 0, 720, 540, memory, 0, 0, SRCCOPY);
        SelectObject(memory, previousBitmap);
        DeleteDC(memory);
        ReleaseDC(window, dc);
    }
}
