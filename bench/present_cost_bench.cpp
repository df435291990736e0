// What a closing-screen tick that draws nothing new is made of, in-process under the real
// window: the whole 720 x 540 frame copied to the window from the 24-bit frame bitmap (the old
// Present, the baseline) and from a 32-bit DIB section of the same picture, by BitBlt,
// SetDIBitsToDevice and StretchDIBits; the window and memory DCs alone; turning the 24-bit frame
// into the 32-bit one; DrawFrame when nothing changed; BackgroundCovers; and the tick as the
// controller runs it now. Each step runs 300 times, each followed by an empty PeekMessage, as in
// the shell's loop (Wine sends the window's pixels to the display there). Per step: the median
// wall time of one, and its thread CPU per step over the 300; each run measures the baseline too.
// Usage: present_cost_bench [runs]   (5 by default)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "bench_support.h"
#include "draw/frame_buffer.h"
#include "draw/frame_composer.h"
#include "in_process_screen.h"
#include "shell/screen_controller.h"
#include "shell/wrapper_window.h"

namespace {

const int kSteps = 300;

double ThreadCpuUs()
{
    FILETIME created, ended, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return static_cast<double>(k.QuadPart + u.QuadPart) / 10.0;
}

struct Step {
    const char* name;
    std::function<void()> run;
    std::vector<double> wallUs, cpuUs, wallRatio;
};

void Measure(Step& step, double baselineWall)
{
    std::vector<double> walls;
    MSG message;
    const double cpu0 = ThreadCpuUs();
    for (int i = 0; i < kSteps; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        step.run();
        QueryPerformanceCounter(&end);
        walls.push_back(Microseconds(start, end));
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    step.cpuUs.push_back((ThreadCpuUs() - cpu0) / kSteps);
    step.wallUs.push_back(Median(walls));
    if (baselineWall > 0)
        step.wallRatio.push_back(step.wallUs.back() / baselineWall);
}

// A top-down DIB section of the frame's size.
HBITMAP CreateDib(int bitCount, uint8_t** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 720;
    info.bmiHeader.biHeight = -540;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<uint8_t*>(pixels);
    return bitmap;
}

void CopyDib(HBITMAP from, HBITMAP to)
{
    MemoryDC source(nullptr);
    MemoryDC target(nullptr);
    GdiSelection sourceBitmap(source.dc, from, GdiSelection::Borrowed);
    GdiSelection targetBitmap(target.dc, to, GdiSelection::Borrowed);
    BitBlt(target.dc, 0, 0, 720, 540, source.dc, 0, 0, SRCCOPY);
    GdiFlush();
}

BITMAPINFO HeaderOf(int bitCount, uint32_t stride)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = static_cast<LONG>(stride / (bitCount / 8));
    info.bmiHeader.biHeight = -540;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

void BlitFrom(HBITMAP bitmap)
{
    WindowDC window(WrapperWindow);
    MemoryDC memory(window.dc);
    GdiSelection selected(memory.dc, bitmap, GdiSelection::Borrowed);
    BitBlt(window.dc, 0, 0, 720, 540, memory.dc, 0, 0, SRCCOPY);
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    ScreenController& controller = StartClosingScreenHere(10, "PresentCostBench");
    controller.DrawFrame();
    // A bitmap is selected into one DC at a time: the DCs kept over the whole run hold copies.
    uint8_t* bits32 = nullptr;
    uint8_t* bits24 = nullptr;
    uint8_t* keptBits32 = nullptr;
    uint8_t* keptBits24 = nullptr;
    HBITMAP frame32 = CreateDib(32, &bits32);
    HBITMAP frame24 = CreateDib(24, &bits24);
    HBITMAP keptFrame32 = CreateDib(32, &keptBits32);
    HBITMAP keptFrame24 = CreateDib(24, &keptBits24);
    for (HBITMAP copy : {frame32, frame24, keptFrame32, keptFrame24})
        CopyDib(controller.frameBitmap, copy);
    const BITMAPINFO header24 = HeaderOf(24, 2160);
    const BITMAPINFO header32 = HeaderOf(32, 720 * 4);
    {
        WindowDC keptWindow(WrapperWindow);
        MemoryDC kept24(keptWindow.dc), kept32(keptWindow.dc);
        GdiSelection keptSelection24(kept24.dc, keptFrame24, GdiSelection::Borrowed);
        GdiSelection keptSelection32(kept32.dc, keptFrame32, GdiSelection::Borrowed);

        std::vector<Step> steps;
        const auto add = [&steps](const char* name, const std::function<void()>& run) {
            steps.push_back(Step{name, run, {}, {}, {}});
        };
        add("old Present: 24-bit BitBlt, DCs made", [&] { BlitFrom(frame24); });
        add("Present", [&] { controller.Present(); });
        add("BitBlt from 32-bit, DCs made", [&] { BlitFrom(frame32); });
        add("BitBlt from 24-bit, DCs kept", [&] { BitBlt(keptWindow.dc, 0, 0, 720, 540, kept24.dc, 0, 0, SRCCOPY); });
        add("BitBlt from 32-bit, DCs kept", [&] { BitBlt(keptWindow.dc, 0, 0, 720, 540, kept32.dc, 0, 0, SRCCOPY); });
        add("SetDIBitsToDevice 24-bit", [&] {
            WindowDC window(WrapperWindow);
            SetDIBitsToDevice(window.dc, 0, 0, 720, 540, 0, 0, 0, 540, bits24, &header24, DIB_RGB_COLORS);
        });
        add("SetDIBitsToDevice 32-bit", [&] {
            WindowDC window(WrapperWindow);
            SetDIBitsToDevice(window.dc, 0, 0, 720, 540, 0, 0, 0, 540, bits32, &header32, DIB_RGB_COLORS);
        });
        add("StretchDIBits 32-bit 1:1", [&] {
            WindowDC window(WrapperWindow);
            StretchDIBits(window.dc, 0, 0, 720, 540, 0, 0, 720, 540, bits32, &header32, DIB_RGB_COLORS, SRCCOPY);
        });
        add("window + memory DC, selected", [&] {
            WindowDC window(WrapperWindow);
            MemoryDC memory(window.dc);
            GdiSelection selected(memory.dc, controller.frameBitmap, GdiSelection::Borrowed);
        });
        add("24-bit frame into 32-bit, BitBlt", [&] { CopyDib(frame24, frame32); });
        add("frame to the arcade layer and back, in place", [&] {
            PackFrameForArcade(controller.frameBits, 720, 540, controller.frameStride);
            UnpackFrameFromArcade(controller.frameBits, 720, 540, controller.frameStride);
        });
        add("DrawFrame, nothing changed", [&] { controller.DrawFrame(); });
        add("BackgroundCovers", [&] { BackgroundCovers(kept24.dc, 720, 540); });
        add("unchanged tick: DrawFrame + Present", [&] {
            controller.DrawFrame();
            controller.Present();
        });
        add("empty step (PeekMessage alone)", [] {});

        for (int run = 0; run < runs; ++run) {
            Measure(steps[0], 0);
            for (size_t i = 1; i < steps.size(); ++i)
                Measure(steps[i], steps[0].wallUs.back());
        }
        std::printf("A closing-screen frame's parts, in-process, 720 x 540, median [range] of %d runs of %d steps\n",
                    runs, kSteps);
        std::printf("%-40s %20s %20s %18s\n", "step", "wall (us)", "thread CPU (us)", "wall / old Present");
        for (const Step& step : steps) {
            std::printf("%-40s %20s %20s %18s\n", step.name, MedianRange(step.wallUs, "%.0f").c_str(),
                        MedianRange(step.cpuUs, "%.0f").c_str(), MedianRange(step.wallRatio, "%.2f").c_str());
        }
        std::printf("  (thread CPU comes in 10 ms steps under Wine)\n");
    }
    for (HBITMAP copy : {frame32, frame24, keptFrame32, keptFrame24})
        DeleteObject(copy);
    return 0;
}
