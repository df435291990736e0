#include "arcade_pictures.h"

#include <cstdio>

#include "arcade_frame_buffer.h"
#include "arcade_png.h"
#include "file_system.h"

namespace {

const int EVERY = 100;
const int SCALE = 4;
const int THUMB_WIDTH = FRAME_WIDTH / SCALE;
const int THUMB_HEIGHT = FRAME_HEIGHT / SCALE;
const int SHEET_COLUMNS = 6;
const int GAP = 4;
const size_t MOST_THUMBNAILS = 60;

}  // namespace

void FramePictures::Take(const uint8_t* pixels, int frame, bool repainted)
{
    if (folder.empty() || !(frame == 1 || frame % EVERY == 0 || repainted))
        return;
    char name[32];
    std::snprintf(name, sizeof(name), "frame-%04d.png", frame);
    if (!WriteWholeFile(JoinPath(folder, name), EncodePng(pixels, FRAME_WIDTH, FRAME_HEIGHT, int(FRAME_STRIDE))))
        ++failed;
    if (thumbnails_.size() >= MOST_THUMBNAILS)
        return;
    std::vector<uint8_t> thumbnail(size_t(THUMB_WIDTH) * THUMB_HEIGHT * 3);
    for (int y = 0; y < THUMB_HEIGHT; ++y)
        for (int x = 0; x < THUMB_WIDTH; ++x)
            for (int c = 0; c < 3; ++c)
                thumbnail[(size_t(y) * THUMB_WIDTH + x) * 3 + c] =
                    pixels[size_t(y * SCALE) * FRAME_STRIDE + size_t(x * SCALE) * 3 + c];
    thumbnails_.push_back(thumbnail);
}

bool FramePictures::Finish()
{
    if (folder.empty() || thumbnails_.empty())
        return failed == 0;
    const int count = int(thumbnails_.size());
    const int columns = count < SHEET_COLUMNS ? count : SHEET_COLUMNS;
    const int rows = (count + SHEET_COLUMNS - 1) / SHEET_COLUMNS;
    const int width = GAP + columns * (THUMB_WIDTH + GAP);
    const int height = GAP + rows * (THUMB_HEIGHT + GAP);
    std::vector<uint8_t> sheet(size_t(width) * height * 3, 0x40);
    for (int i = 0; i < count; ++i) {
        const int left = GAP + (i % SHEET_COLUMNS) * (THUMB_WIDTH + GAP);
        const int top = GAP + (i / SHEET_COLUMNS) * (THUMB_HEIGHT + GAP);
        for (int y = 0; y < THUMB_HEIGHT; ++y)
            for (int x = 0; x < THUMB_WIDTH * 3; ++x)
                sheet[(size_t(top + y) * width + left) * 3 + x] = thumbnails_[i][size_t(y) * THUMB_WIDTH * 3 + x];
    }
    if (!WriteWholeFile(JoinPath(folder, "contact-sheet.png"), EncodePng(sheet.data(), width, height, width * 3)))
        ++failed;
    return failed == 0;
}
