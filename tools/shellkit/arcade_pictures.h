#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Frames saved as a player would see them: the first, every 100th and each after a repaint,
// as frame-NNNN.png, and a contact sheet of them at a quarter of their size.
struct FramePictures {
    std::string folder;  // "" for none
    int failed = 0;

    void Take(const uint8_t* pixels, int frame, bool repainted);
    // Writes the contact sheet; false when it or a frame could not be written.
    bool Finish();

private:
    std::vector<std::vector<uint8_t>> thumbnails_;
};
