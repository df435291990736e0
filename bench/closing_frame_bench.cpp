// The cost of drawing one closing-screen frame (background, title block, body text, both
// buttons, build label, Present), median of many frames, with the text work it takes, for
// titles of 10, 50 and 200 characters. Beside it, Present alone as the baseline.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "draw/background_picture.h"
#include "draw/button.h"
#include "draw/gdi_selection.h"
#include "draw/text.h"
#include "draw/text_layout.h"
#include "shell/screen_controller.h"
#include "shell/wrapper_window.h"

static const char kBody[] =
    "Thank you for playing the Full Version of [GAME_TITLE]. \n \nPlease visit our website to evaluate other great "
    "games. \n \nThis window will automaticaly close in [TIME_TO_CLOSE] Seconds.";

struct NoAction : ActionBase {
    void Invoke() override {}
};

static std::string Title(size_t length)
{
    const std::string words = "Quest for the Crystal Harbor of Lantern Isles ";
    std::string title;
    while (title.size() < length)
        title += words;
    title.resize(length);
    return title;
}

static double Microseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

static double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int main()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ClosingFrameBench";
    RegisterClassA(&windowClass);
    RECT outer = {0, 0, 720, 540};
    AdjustWindowRectEx(&outer, WRAPPER_STYLE, FALSE, 0);
    WrapperWindow = CreateWindowExA(0, "ClosingFrameBench", "bench", WRAPPER_STYLE | WS_VISIBLE, 0, 0,
                                    outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    ScreenController& controller = ScreenController::Instance();
    controller.clientWidth = 720;
    controller.clientHeight = 540;
    controller.closeCountdown = 20.0f;
    controller.CreateFrameBuffer();
    char picture[MAX_PATH];
    GetModuleFileNameA(nullptr, picture, MAX_PATH);
    std::strcpy(std::strrchr(picture, '\\') + 1, "testdata\\Background.jpg");
    if (!TheBackground.Load(picture))
        std::printf("(no background picture at %s)\n", picture);
    controller.buttons.Append(new Button(460, 472, "Play Game", new NoAction));
    controller.buttons.Append(new Button(587, 472, "Other Games", new NoAction));

    const int frames = 400;
    std::vector<double> present;
    for (int i = 0; i < frames; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        controller.Present();
        QueryPerformanceCounter(&end);
        present.push_back(Microseconds(start, end));
    }
    std::printf("Present alone: %.0f us (median of %d)\n", Median(present), frames);
    std::printf("%8s %12s %10s %14s %14s\n", "title", "frame us", "x Present", "measurements", "fonts created");

    for (size_t length : {10u, 50u, 200u}) {
        const std::string title = Title(length);
        char* body = ReplaceFirst(kBody, "[GAME_TITLE]", title.c_str());
        std::vector<double> times;
        TextCounters before = TextWork;
        for (int i = 0; i < frames; ++i) {
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            {
                WindowDC window(WrapperWindow);
                MemoryDC memory(window.dc);
                GdiSelection frame(memory.dc, controller.frameBitmap, GdiSelection::Borrowed);
                DrawingDC = memory.dc;
                DrawBackground(memory.dc);
                const uint32_t titleHeight = controller.DrawWrappedText(title.c_str(), 14, memory.dc, 460, 30, 230);
                DrawSeparator(memory.dc, 460, 30 + static_cast<int>(titleHeight), 230);
                controller.DrawWrappedText(body, 10, memory.dc, 460, 30 + static_cast<int>(titleHeight) + 9, 230);
                controller.DrawButtons();
                SetTextColor(memory.dc, RGB(195, 195, 195));
                DrawTextAt(memory.dc, 450, 510, "Build 131", 9, 6);
                DrawingDC = nullptr;
            }
            controller.Present();
            QueryPerformanceCounter(&end);
            times.push_back(Microseconds(start, end));
        }
        const double frame = Median(times);
        std::printf("%8zu %12.0f %10.1f %14u %14u\n", length, frame, frame / Median(present),
                    (TextWork.measurements - before.measurements) / frames,
                    (TextWork.fontsCreated - before.fontsCreated) / frames);
        std::free(body);
    }
    return 0;
}
