#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// The shell's frame: 720 x 540, 3 bytes a pixel, rows 2160 bytes apart. 2160 is a multiple of
// 4, so the shell's rows carry no padding and the frame is exactly 540 rows of 2160 bytes.
const int FRAME_WIDTH = 720;
const int FRAME_HEIGHT = 540;
const uint32_t FRAME_STRIDE = 2160;
const size_t FRAME_BYTES = size_t(FRAME_STRIDE) * FRAME_HEIGHT;

// The frame between two inaccessible pages. A page is 4096 bytes and the frame is not a whole
// number of them, so the frame lies against the page after it on one frame and against the
// page before it on the next: a byte outside faults where it is written, one side per frame,
// and the bytes left over on the other side hold a pattern checked after every frame.
struct GuardedFrame {
    uint8_t* pixels = nullptr;

    bool Create();
    void Release();
    // Moves the frame, its pixels kept, against the other guard page.
    void SwapSide();
    // "" or what the frame's call did to the bytes around it.
    std::string CheckSlack() const;
    // How an address relates to the frame when it lies in a guard page: "" when it does not.
    std::string Describe(ULONG_PTR address, bool write) const;

private:
    uint8_t* base_ = nullptr;   // the first guard page
    uint8_t* data_ = nullptr;   // the pages between the guards
    size_t dataBytes_ = 0;
    size_t page_ = 0;
    bool againstEnd_ = true;

    void FillSlack();
};
