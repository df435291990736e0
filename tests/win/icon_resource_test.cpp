#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colourCount, reserved;
  WORD planes, bitCount;
  DWORD bytesInRes;
  WORD id;
};
#pragma pack(pop)

std::string shellPath() {
  char path[MAX_PATH];
  std::string own(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return own.substr(0, own.find_last_of("\\/") + 1) + "shell.exe";
}

// Spelt out because the RT_ names follow UNICODE, and these calls are the ANSI ones.
const LPCSTR kIconType = MAKEINTRESOURCEA(3);
const LPCSTR kGroupIconType = MAKEINTRESOURCEA(14);

const BYTE* findResource(HMODULE module, LPCSTR name, LPCSTR type, DWORD* size) {
  HRSRC info = FindResourceA(module, name, type);
  *size = info ? SizeofResource(module, info) : 0;
  HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
  return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

// Not a colour of either palette, so no opaque pixel can come out as it by chance.
const uint32_t kBackground = 0x3C5A1E;

// The icon drawn over kBackground, as 0xRRGGBB, top row first.
std::vector<uint32_t> drawOverBackground(HICON icon, int size) {
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<uint32_t> pixels;
  if (bits) {
    uint32_t* canvas = static_cast<uint32_t*>(bits);
    std::fill(canvas, canvas + size * size, kBackground);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    SelectObject(dc, previous);
    for (int i = 0; i < size * size; ++i) pixels.push_back(canvas[i] & 0xFFFFFF);
  }
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

int red(uint32_t c) { return (c >> 16) & 0xFF; }
int green(uint32_t c) { return (c >> 8) & 0xFF; }
int blue(uint32_t c) { return c & 0xFF; }

TEST(ShellResources, MainIconHoldsSevenDrawableImages) {
  std::unique_ptr<std::remove_pointer<HMODULE>::type, decltype(&FreeLibrary)> shell(
      LoadLibraryExA(shellPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), &FreeLibrary);
  ASSERT_TRUE(shell) << shellPath();
  DWORD size = 0;
  const BYTE* group = findResource(shell.get(), "MAINICON", kGroupIconType, &size);
  ASSERT_NE(group, nullptr);
  const WORD count = reinterpret_cast<const WORD*>(group)[2];
  ASSERT_EQ(count, 7);
  ASSERT_EQ(size, 3 * sizeof(WORD) + count * sizeof(GroupIconEntry));
  const auto* entries = reinterpret_cast<const GroupIconEntry*>(group + 3 * sizeof(WORD));
  const int expected[7][3] = {{48, 4, 16}, {32, 4, 16}, {16, 4, 16}, {48, 8, 0}, {32, 8, 0}, {16, 8, 0}, {48, 32, 0}};

  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    const GroupIconEntry& entry = entries[i];
    const int side = expected[i][0];
    EXPECT_EQ(int(entry.width), side);
    EXPECT_EQ(int(entry.height), side);
    EXPECT_EQ(int(entry.bitCount), expected[i][1]);
    EXPECT_EQ(int(entry.colourCount), expected[i][2]);

    DWORD imageSize = 0;
    const BYTE* image = findResource(shell.get(), MAKEINTRESOURCEA(entry.id), kIconType, &imageSize);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imageSize, entry.bytesInRes);
    HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image), imageSize, TRUE, 0x00030000, side, side,
                                          LR_DEFAULTCOLOR);
    ASSERT_NE(icon, nullptr);
    const std::vector<uint32_t> pixels = drawOverBackground(icon, side);
    DestroyIcon(icon);
    ASSERT_EQ(int(pixels.size()), side * side);

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
  std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), &ignored));
  ASSERT_FALSE(block.empty()) << path;
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, DWORD(block.size()), block.data()));

  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00830000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00830000u);

  // Readers of version information find the string table through the translation.
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 2 * sizeof(WORD));
  const WORD* translation = static_cast<const WORD*>(value);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1252);
  char name[64];
  std::snprintf(name, sizeof(name), "\\StringFileInfo\\%04x%04x\\FileVersion", translation[0], translation[1]);
  ASSERT_TRUE(VerQueryValueA(block.data(), name, &value, &length)) << name;
  EXPECT_STREQ(static_cast<const char*>(value), "1.0.131.0");
}

}  // namespace
