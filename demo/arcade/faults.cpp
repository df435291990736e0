#include "faults.h"

namespace {

DWORD WINAPI KeepRunning(LPVOID)
{
    for (;;)
        Sleep(50);
}

// A bitmap of 256 KB, so that the leak shows in memory where the GDI count is not reported.
void LeakBitmap()
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 256;
    info.bmiHeader.biHeight = 256;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

}  // namespace

void Faults::AfterInitialize(const std::string& folder)
{
    if (Is("thread_left"))
        CloseHandle(CreateThread(nullptr, 0, KeepRunning, nullptr, 0, nullptr));
    if (Is("writes_outside")) {
        HANDLE file = CreateFileA((folder + "..\\stray.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(file);
    }
}

void Faults::AfterDraw(unsigned char* pixels, unsigned stride, unsigned height, unsigned frame)
{
    countQuestions = 0;
    if (Is("overrun_after"))
        pixels[size_t(stride) * height] = 0x7F;
    else if (Is("overrun_before"))
        pixels[-1] = 0x7F;
    else if (Is("unreported_pixels"))
        pixels[size_t(stride) * 300 + 30] ^= 0xFF;
    else if (Is("slow_frame"))
        Sleep(30);
    else if (Is("gdi_leak"))
        LeakBitmap();
    else if (Is("handle_leak"))
        CreateEventA(nullptr, FALSE, FALSE, nullptr);
    else if (Is("crash_frame") && frame == 3)
        *static_cast<volatile int*>(nullptr) = 1;
    else if (Is("hang_frame") && frame == 3)
        Sleep(INFINITE);
    else if (Is("box_frame") && frame == 2)
        MessageBoxA(nullptr, "Insert coin.", "Arcade", MB_OK);
}

int Faults::Count(int count)
{
    if (Is("negative_count"))
        return -1;
    if (Is("count_changes") && count > 0)
        return countQuestions++ > 0 ? count - 1 : count;
    return count;
}

RECT Faults::Rect(int index, RECT rect, int height) const
{
    if (Is("rect_out") && index == 0)
        rect.right += 1;
    else if (Is("rect_inverted") && index == 0)
        rect = RECT{rect.right, rect.top, rect.left, rect.bottom};
    else if (Is("partial_repaint") && rect.bottom == height && rect.top == 0)
        rect.bottom = height / 2;
    return rect;
}
