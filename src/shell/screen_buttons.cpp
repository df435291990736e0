#include "shell/screen_controller.h"

// Nothing reaches the buttons during a menu session: the arcade layer owns the mouse.
void ScreenController::OnMouseMove(int x, int y)
{
    if (!menuSessionActive)
        buttons.OnMouseMove(x, y);
}

void ScreenController::OnMouseDown(int x, int y)
{
    if (!menuSessionActive)
        buttons.OnMouseDown(x, y);
}

void ScreenController::OnMouseUp(int x, int y)
{
    if (!menuSessionActive)
        buttons.OnMouseUp(x, y);
}

void ScreenController::DrawButtons()
{
    if (!menuSessionActive)
        buttons.Draw(DrawingDC);
}
