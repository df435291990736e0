#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

#pragma pack(push, 2)
struct GroupIconHeader {
  WORD reserved;
  WORD type;
  WORD count;
};
struct GroupIconEntry {
  BYTE width;
  BYTE height;
  BYTE colourCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytesInRes;
  WORD id;
};
#pragma pack(pop)

std::string shellPath() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string own(path, length);
  return own.substr(0, own.find_last_of("\\/") + 1) + "shell.exe";
}

class ShellAsData {
 public:
  ShellAsData() : module_(LoadLibraryExA(shellPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~ShellAsData() {
    if (module_) FreeLibrary(module_);
  }
  ShellAsData(const ShellAsData&) = delete;
  ShellAsData& operator=(const ShellAsData&) = delete;

  HMODULE get() const { return module_; }

  const BYTE* resource(LPCSTR name, LPCSTR type, DWORD* size) const {
    HRSRC info = FindResourceA(module_, name, type);
    HGLOBAL loaded = info ? LoadResource(module_, info) : nullptr;
    *size = info ? SizeofResource(module_, info) : 0;
    return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  }

 private:
  HMODULE module_;
};

// Spelt out because the RT_ names follow UNICODE, and these calls are the ANSI ones.
const LPCSTR kIconType = MAKEINTRESOURCEA(3);
const LPCSTR kGroupIconType = MAKEINTRESOURCEA(14);

// Not a colour of either palette, so no opaque pixel can come out as it by chance.
const uint32_t kBackground = 0x3C5A1E;

// The icon drawn over kBackground, as 0xRRGGBB, top row first.
std::vector<uint32_t> drawOverBackground(HICON icon, int size) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<uint32_t> pixels;
  if (dc && bitmap && bits) {
    uint32_t* canvas = static_cast<uint32_t*>(bits);
    std::fill(canvas, canvas + size * size, kBackground);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    SelectObject(dc, previous);
    for (int i = 0; i < size * size; ++i) pixels.push_back(canvas[i] & 0xFFFFFF);
  }
  if (bitmap) DeleteObject(bitmap);
  if (dc) DeleteDC(dc);
  return pixels;
}

int red(uint32_t c) { return (c >> 16) & 0xFF; }
int green(uint32_t c) { return (c >> 8) & 0xFF; }
int blue(uint32_t c) { return c & 0xFF; }

std::string queryString(const std::vector<char>& block, WORD language, WORD codePage, const char* name) {
  char path[64];
  std::snprintf(path, sizeof(path), "\\StringFileInfo\\%04x%04x\\%s", language, codePage, name);
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), path, &value, &length) || length == 0) return "(missing)";
  return static_cast<const char*>(value);
}

TEST(ShellResources, MainIconHoldsSevenDrawableImages) {
  ShellAsData shell;
  ASSERT_NE(shell.get(), nullptr) << shellPath();
  DWORD size = 0;
  const BYTE* group = shell.resource("MAINICON", kGroupIconType, &size);
  ASSERT_NE(group, nullptr);
  const auto* header = reinterpret_cast<const GroupIconHeader*>(group);
  const auto* entries = reinterpret_cast<const GroupIconEntry*>(group + sizeof(GroupIconHeader));
  struct Expected {
    int size, bitCount, colourCount;
  };
  const Expected expected[] = {{48, 4, 16}, {32, 4, 16}, {16, 4, 16}, {48, 8, 0},
                               {32, 8, 0},  {16, 8, 0},  {48, 32, 0}};
  ASSERT_EQ(header->count, 7);
  ASSERT_EQ(size, sizeof(GroupIconHeader) + 7 * sizeof(GroupIconEntry));

  for (int i = 0; i < 7; ++i) {
    const GroupIconEntry& entry = entries[i];
    const int side = expected[i].size;
    SCOPED_TRACE("image " + std::to_string(i));
    EXPECT_EQ(entry.width, side);
    EXPECT_EQ(entry.height, side);
    EXPECT_EQ(entry.bitCount, expected[i].bitCount);
    EXPECT_EQ(entry.colourCount, expected[i].colourCount);

    DWORD imageSize = 0;
    const BYTE* image = shell.resource(MAKEINTRESOURCEA(entry.id), kIconType, &imageSize);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imageSize, entry.bytesInRes);
    HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image), imageSize, TRUE, 0x00030000, side, side,
                                          LR_DEFAULTCOLOR);
    ASSERT_NE(icon, nullptr);
    std::vector<uint32_t> pixels = drawOverBackground(icon, side);
    DestroyIcon(icon);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(side * side));

    auto at = [&](int x, int y) { return pixels[y * side + x]; };
    EXPECT_EQ(at(0, 0), kBackground) << "the tile's rounded corner leaves the icon's corner transparent";
    const uint32_t play = at(side / 2, side / 2);
    EXPECT_TRUE(red(play) >= 200 && green(play) >= 128 && blue(play) <= 100) << std::hex << play;
    // The tile is lit from above, so an image stored upside down shows its dark half on top.
    const uint32_t upper = at(side / 2, side * 15 / 100);
    const uint32_t lower = at(side / 2, side * 85 / 100);
    EXPECT_TRUE(blue(upper) > red(upper) && blue(upper) > green(upper)) << std::hex << upper;
    EXPECT_TRUE(blue(lower) > red(lower) && blue(lower) > green(lower)) << std::hex << lower;
    EXPECT_GT(red(upper) + green(upper) + blue(upper), red(lower) + green(lower) + blue(lower));
  }
}

TEST(ShellResources, VersionIsBuild131) {
  const std::string path = shellPath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  ASSERT_GT(size, 0u) << path;
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00830000u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00830000u);

  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 2 * sizeof(WORD));
  const WORD* translation = static_cast<const WORD*>(value);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1252);

  EXPECT_EQ(queryString(block, translation[0], translation[1], "FileVersion"), "1.0.131.0");
  EXPECT_EQ(queryString(block, translation[0], translation[1], "ProductVersion"), "1.0.131.0");
  EXPECT_EQ(queryString(block, translation[0], translation[1], "ProductName"), "Morvessa Game Shell");
  EXPECT_EQ(queryString(block, translation[0], translation[1], "OriginalFilename"), "shell.exe");
}

}  // namespace
