#pragma once
#include <windows.h>

// Selects a GDI object into a DC for one scope and puts the previous one back; deletes the
// object too when it was created for this scope. Keeps "created, selected out and deleted
// in the same call" without repeating the three steps.
struct GdiSelection {
    enum Ownership { Borrowed, Owned };

    GdiSelection(HDC dc, HGDIOBJ object, Ownership ownership = Owned)
        : dc(dc), object(object), previous(object != nullptr ? SelectObject(dc, object) : nullptr), ownership(ownership)
    {
    }
    ~GdiSelection()
    {
        if (object == nullptr)
            return;
        SelectObject(dc, previous);
        if (ownership == Owned)
            DeleteObject(object);
    }
    GdiSelection(const GdiSelection&) = delete;
    GdiSelection& operator=(const GdiSelection&) = delete;

    HDC dc;
    HGDIOBJ object;
    HGDIOBJ previous;
    Ownership ownership;
};

// A memory DC compatible with another DC, deleted at the end of the scope.
struct MemoryDC {
    explicit MemoryDC(HDC compatibleWith) : dc(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC()
    {
        if (dc != nullptr)
            DeleteDC(dc);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC dc;
};

// A window's DC from GetDC, released at the end of the scope.
struct WindowDC {
    explicit WindowDC(HWND window) : window(window), dc(GetDC(window)) {}
    ~WindowDC()
    {
        if (dc != nullptr)
            ReleaseDC(window, dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HWND window;
    HDC dc;
};
