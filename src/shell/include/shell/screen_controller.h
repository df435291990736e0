#pragma once
#include <windows.h>

#include <cstdint>

#include "draw/button.h"
#include "draw/frame_composer.h"
#include "draw/text_column.h"

struct ScreenController;
// A screen is a state of the one controller: a member function that takes a message code.
typedef void (ScreenController::*ScreenState)(uint32_t message, HDC dc);

const uint32_t MSG_ENTER = 0;
const uint32_t MSG_TICK = 1;
const uint32_t MSG_DRAW = 2;
const uint32_t MSG_LEAVE = 3;

extern const char BUILD_LABEL[];

// The memory DC of the frame being drawn; null outside a tick's drawing step.
extern HDC DrawingDC;

// What the wrapper window shows, and whether the game or the wrapper is in front.
struct ScreenController {
    bool menuSessionActive = false;
    bool windowPainted = false;
    bool quitRequested = false;
    RECT savedGameRect = {0, 0, 0, 0};
    bool gameMinimized = false;
    bool gameToFrontPending = false;
    float closeCountdown = 0.0f;
    uint32_t lastTickTime = 0;
    int32_t tickBacklog = 0;
    int32_t clientHeight = 0;
    int32_t clientWidth = 0;
    // The frame buffer (see CreateFrameBitmap): its 32-bit frame, or, while the arcade layer
    // draws, the arcade layer's 24-bit frame, rows frameStride bytes apart.
    HBITMAP frameBitmap = nullptr;
    uint32_t frameStride = 0;
    uint8_t* frameBits = nullptr;
    bool frameHeldByArcade = false;
    ButtonList buttons;
    ScreenState state = nullptr;
    // Kept between frames: the layouts of the texts drawn, and what the frame buffer holds.
    TextColumn textColumn;
    FrameComposer frameComposer;

    static ScreenController& Instance();

    ScreenController() = default;
    ~ScreenController();
    ScreenController(const ScreenController&) = delete;
    ScreenController& operator=(const ScreenController&) = delete;

    void Initialize();
    void Tick();
    void Shutdown();
    void SetState(ScreenState newState);
    void StepMenuSession();

    // Actions of the closing screen's buttons.
    void PlayGame();
    void OpenOtherGames();

    // Bringing the wrapper or the game to the front.
    void ShowWrapper();
    void ActivateGame();

    void AddPlayGameButton();
    void AddOtherGamesButton();

    // The screens.
    void StateGameRunning(uint32_t message, HDC dc);
    void StateClosing(uint32_t message, HDC dc);

    // Frame clock, frame buffer and presentation.
    bool IsTickDue();
    void CreateFrameBuffer();
    void Present();
    // Turns the frame buffer's memory into the arcade layer's frame, or back into the shell's.
    void HandFrameToArcade(bool toArcade);

    // Text of the screens.
    char* ExpandTemplate(const char* text);
    uint32_t DrawWrappedText(const char* text, int points, HDC dc, int x, int y, int width);
    uint32_t DrawTitleBlock(HDC dc, int x, int y, int width);
    // The title block, then the body right below it, in the closing screen's column.
    void DrawClosingText(HDC dc);

    // Mouse input for the buttons; nothing reaches them during a menu session.
    void OnMouseMove(int x, int y);
    void OnMouseDown(int x, int y);
    void OnMouseUp(int x, int y);
    // Every button in list order into DrawingDC; none while a menu session runs.
    void DrawButtons();
    // Draws the current screen into the frame buffer, unless the buffer already holds exactly
    // that frame over a background that covers it.
    // Returns whether the frame was drawn (it differed from what the buffer holds).
    bool DrawFrame();
};
