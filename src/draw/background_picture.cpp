#include "draw/background_picture.h"

#include <olectl.h>

#include <cstdint>

#include "draw/frame_composer.h"

BackgroundPicture TheBackground;

namespace {

const DWORD READ_REQUEST = 4096;
const LONG HIMETRIC_PER_INCH = 2540;

}  // namespace

BackgroundPicture::~BackgroundPicture()
{
    if (picture != nullptr)
        picture->Release();
}

bool BackgroundPicture::Load(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const DWORD size = GetFileSize(file, nullptr);
    if (size == 0 || size == INVALID_FILE_SIZE) {
        CloseHandle(file);
        return false;
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_NODISCARD, size);
    if (block == nullptr) {
        CloseHandle(file);
        return false;
    }
    BYTE* bytes = static_cast<BYTE*>(GlobalLock(block));
    if (bytes != nullptr) {
        // Each request is cut to what is left of the block, so a file that grows while it
        // is read cannot write past the block's end.
        DWORD filled = 0;
        while (filled < size) {
            const DWORD request = size - filled < READ_REQUEST ? size - filled : READ_REQUEST;
            DWORD got = 0;
            if (!ReadFile(file, bytes + filled, request, &got, nullptr) || got == 0)
                break;
            filled += got;
        }
        GlobalUnlock(block);
    }
    CloseHandle(file);

    bool result = false;
    IStream* stream = nullptr;
    if (bytes != nullptr && SUCCEEDED(CreateStreamOnHGlobal(block, FALSE, &stream))) {
        result = LoadFromStream(stream);
        stream->Release();
    }
    GlobalFree(block);
    return result;
}

bool BackgroundPicture::LoadFromStream(IStream* stream)
{
    if (picture != nullptr) {
        IPicture* old = picture;
        picture = nullptr;
        old->Release();
    }
    void* loaded = nullptr;
    const HRESULT hr = OleLoadPicture(stream, 0, FALSE, IID_IPicture, &loaded);
    if (hr == S_OK)
        picture = static_cast<IPicture*>(loaded);
    else if (SUCCEEDED(hr) && loaded != nullptr)
        static_cast<IPicture*>(loaded)->Release();
    return hr == S_OK;
}

void BackgroundPicture::GetHimetricSize(LONG* width, LONG* height) const
{
    *width = 0;
    *height = 0;
    if (picture == nullptr)
        return;
    picture->get_Width(width);
    picture->get_Height(height);
}

SIZE BackgroundPicture::GetSizeInPixels(HDC dc) const
{
    SIZE size = {0, 0};
    if (picture == nullptr)
        return size;
    GetHimetricSize(&size.cx, &size.cy);
    if (dc != nullptr) {
        HimetricToPixels(dc, &size);
        return size;
    }
    HDC screen = GetWindowDC(nullptr);
    HimetricToPixels(screen, &size);
    ReleaseDC(nullptr, screen);
    return size;
}

bool BackgroundPicture::Render(HDC dc, RECT* rect, const RECT* bounds) const
{
    if (picture == nullptr)
        return true;
    if (rect->right == rect->left && rect->bottom == rect->top) {
        const SIZE natural = GetSizeInPixels(dc);
        rect->right = natural.cx;
        rect->bottom = natural.cy;
    }
    LONG hmWidth = 0;
    LONG hmHeight = 0;
    GetHimetricSize(&hmWidth, &hmHeight);
    // The picture's HIMETRIC space runs bottom-up: start at its height and go back up.
    picture->Render(dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, 0, hmHeight, hmWidth,
                    -hmHeight, bounds);
    return true;
}

void HimetricToPixels(HDC dc, SIZE* size)
{
    const int mode = GetMapMode(dc);
    POINT point = {size->cx, size->cy};
    if (mode == MM_TEXT || mode >= MM_ISOTROPIC) {
        point.x = MulDiv(point.x, GetDeviceCaps(dc, LOGPIXELSX), HIMETRIC_PER_INCH);
        point.y = MulDiv(point.y, GetDeviceCaps(dc, LOGPIXELSY), HIMETRIC_PER_INCH);
    } else {
        SetMapMode(dc, MM_HIMETRIC);
        LPtoDP(dc, &point, 1);
        SetMapMode(dc, mode);
    }
    DPtoLP(dc, &point, 1);
    size->cx = point.x;
    size->cy = point.y;
}

void DrawBackground(HDC dc)
{
    if (FrameComposer* composer = ComposerOf(dc)) {
        const uint64_t picture = reinterpret_cast<uintptr_t>(TheBackground.picture);
        const int32_t values[] = {static_cast<int32_t>(picture), static_cast<int32_t>(picture >> 32)};
        composer->Note(FrameComposer::OP_BACKGROUND, values, 2);
        return;
    }
    if (TheBackground.picture == nullptr)
        return;
    const SIZE size = TheBackground.GetSizeInPixels(nullptr);
    RECT rect = {0, 0, size.cx, size.cy};
    TheBackground.Render(dc, &rect, nullptr);
}
