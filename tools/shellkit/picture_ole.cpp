#include "draw/background_picture.h"
#include "picture.h"

// The shell's own loader: what decodes here is what the closing screen will show, and its
// pixels are read back from the picture drawn as the shell draws it.
bool DecodeJpegBytes(const std::string& path, const std::vector<uint8_t>&, Picture& result, std::string& error)
{
    BackgroundPicture picture;
    if (!picture.Load(path.c_str())) {
        error = "does not decode with the system's picture loader";
        return false;
    }
    const SIZE size = picture.GetSizeInPixels(nullptr);
    result.width = size.cx;
    result.height = size.cy;
    result.rgb.assign(static_cast<size_t>(size.cx) * size.cy * 3, 0);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc == nullptr || bitmap == nullptr) {
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        if (dc != nullptr)
            DeleteDC(dc);
        error = "decodes, but no bitmap could be made to read its pixels";
        return false;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT rect = {0, 0, size.cx, size.cy};
    picture.Render(dc, &rect, nullptr);
    GdiFlush();
    const size_t stride = (static_cast<size_t>(size.cx) * 3 + 3) & ~static_cast<size_t>(3);
    for (int y = 0; y < size.cy; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(bits) + y * stride;
        for (int x = 0; x < size.cx; ++x)
            for (int c = 0; c < 3; ++c)
                result.rgb[(static_cast<size_t>(y) * size.cx + x) * 3 + c] = row[x * 3 + 2 - c];
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return true;
}
