#include "shell/screen_controller.h"

#include "arcade/ma_api.h"
#include "draw/background_picture.h"
#include "draw/frame_buffer.h"
#include "draw/gdi_selection.h"
#include "draw/text.h"
#include "host/game_folder.h"
#include "host/game_host.h"
#include "shell/wrapper_placement.h"
#include "shell/wrapper_window.h"

HDC DrawingDC = nullptr;
const char BUILD_LABEL[] = "Build 131";

ScreenController& ScreenController::Instance()
{
    static ScreenController controller;
    return controller;
}

ScreenController::~ScreenController()
{
    buttons.Clear();
}

void ScreenController::Initialize()
{
    // The game comes first: the wrapper hides and the game starts before anything else.
    PlayGame();
    SetState(&ScreenController::StateGameRunning);
    quitRequested = false;
    lastTickTime = 0;
    tickBacklog = 0;
    menuSessionActive = false;
    windowPainted = false;
    frameBitmap = nullptr;
    frameBits = nullptr;
    RECT client = {0, 0, 0, 0};
    GetClientRect(WrapperWindow, &client);
    clientWidth = client.right;
    clientHeight = client.bottom;
    CreateFrameBuffer();
    TheBackground.Load(BACKGROUND_FILE_NAME);
}

void ScreenController::SetState(ScreenState newState)
{
    if (state != nullptr)
        (this->*state)(MSG_LEAVE, nullptr);
    state = newState;
    (this->*state)(MSG_ENTER, nullptr);
}

bool ScreenController::DrawFrame()
{
    // Where the picture leaves the last frame's pixels showing, smoothed text drawn over itself
    // darkens frame by frame until it settles: such frames are drawn every time.
    if (!frameComposer.BackgroundCoversFrame(clientWidth, clientHeight))
        frameComposer.Forget();
    // Composed first without a device context: a frame like the one the buffer holds needs none.
    DrawingDC = frameComposer.Begin();
    DrawBackground(DrawingDC);
    (this->*state)(MSG_DRAW, DrawingDC);
    DrawButtons();
    // The background mode is left as the screen's text set it.
    const COLORREF previousColour = SetTextColour(DrawingDC, RGB(195, 195, 195));
    DrawTextAt(DrawingDC, 450, 510, BUILD_LABEL, sizeof(BUILD_LABEL) - 1, 6);
    SetTextColour(DrawingDC, previousColour);
    DrawingDC = nullptr;
    if (!frameComposer.Finish())
        return false;
    WindowDC window(WrapperWindow);
    MemoryDC memory(window.dc);
    GdiSelection frame(memory.dc, frameBitmap, GdiSelection::Borrowed);
    frameComposer.DrawComposed(memory.dc);
    return true;
}

void ScreenController::Tick()
{
    if (!IsTickDue())
        return;
    GameHost& host = GameHost::Instance();
    if (gameToFrontPending) {
        if (host.IsGameRunning() && (!host.IsGameInForeground() || gameMinimized)) {
            ActivateGame();
        } else {
            gameMinimized = false;
            gameToFrontPending = false;
        }
    }
    // Visibility at the start of the tick decides whether it draws: the tick that shows
    // the wrapper again does not.
    const bool visible = IsWindowVisible(WrapperWindow) != FALSE;
    if (visible && host.FindGameWindow() != nullptr) {
        if (host.IsGameInForeground())
            ShowWrapper();
        else
            EnforceWrapperSize();
    }
    if (menuSessionActive) {
        if (host.IsGameInForeground())
            ShowWrapper();
        // The arcade layer draws into the buffer, where it likes: the frame after the session is
        // drawn whole, and the next whole copy to the window shows every pixel it wrote.
        frameComposer.Forget();
        StepMenuSession();
        Present();
        return;
    }
    (this->*state)(MSG_TICK, nullptr);
    if (!visible)
        return;
    DrawFrame();
    // The whole frame on every due tick, drawn anew or not: whatever painted over the window
    // since (the arcade layer taking WM_PAINT, drawing that invalidates nothing) lasts a tick.
    Present();
}

// A 32-bit DLL is built for these: 540 rows of 720 pixels, which need no padding, 2160 bytes apart.
static_assert(FRAME_BYTES_PER_PIXEL * FrameRowPixels(CLIENT_WIDTH) == 2160 && CLIENT_HEIGHT == 540,
              "the frame the DLL draws into is 2160 * 540 bytes");

void ScreenController::StepMenuSession()
{
    uint16_t repaint = MADLL_FRAME_CONTINUED;
    if (windowPainted) {
        windowPainted = false;
        repaint = MADLL_FRAME_REPAINTED;
    }
    MA_DrawNextFrameIntoBuffer(frameBits, frameStride, FRAME_BYTES_PER_PIXEL, repaint);
    // The Present that follows copies the whole frame once the session is over.
    if (MA_IsTheMenuSessionComplete()) {
        menuSessionActive = false;
        HandFrameToArcade(false);
    }
}

void ScreenController::Shutdown()
{
    GameHost::Instance().CloseGame();
    MA_ShutDown();
}
