#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "demo_game_control.h"
#include "pixels.h"

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colourCount, reserved;
  WORD planes, bitCount;
  DWORD bytesInRes;
  WORD id;
};
#pragma pack(pop)

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
const COLORREF kBackground = RGB(0x3C, 0x5A, 0x1E);

int Sum(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

TEST(ShellResources, MainIconHoldsSevenUprightImagesAndTheVersionIsBuild131) {
  const std::string path = ProgramFolder() + "shell.exe";
  std::unique_ptr<std::remove_pointer<HMODULE>::type, decltype(&FreeLibrary)> shell(
      LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), &FreeLibrary);
  ASSERT_TRUE(shell) << path;
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
    EXPECT_EQ(std::vector<int>({entry.width, entry.height, entry.bitCount, entry.colourCount}),
              std::vector<int>({side, side, expected[i][1], expected[i][2]}));
    DWORD imageSize = 0;
    const BYTE* image = findResource(shell.get(), MAKEINTRESOURCEA(entry.id), kIconType, &imageSize);
    ASSERT_TRUE(image != nullptr && imageSize == entry.bytesInRes);
    HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image), imageSize, TRUE, 0x00030000, side, side,
                                          LR_DEFAULTCOLOR);
    ASSERT_NE(icon, nullptr);
    PixelCanvas canvas(side, side, kBackground);
    DrawIconEx(canvas.dc, 0, 0, icon, side, side, 0, nullptr, DI_NORMAL);
    GdiFlush();
    DestroyIcon(icon);

    EXPECT_EQ(canvas.At(0, 0), kBackground) << "the tile's rounded corner leaves the icon's corner transparent";
    const COLORREF play = canvas.At(side / 2, side / 2);
    EXPECT_TRUE(GetRValue(play) >= 200 && GetGValue(play) >= 128 && GetBValue(play) <= 100) << std::hex << play;
    // The tile is lit from above, so an image stored upside down shows its dark half on top.
    const COLORREF upper = canvas.At(side / 2, side * 15 / 100);
    const COLORREF lower = canvas.At(side / 2, side * 85 / 100);
    for (COLORREF tile : {upper, lower})
      EXPECT_TRUE(GetBValue(tile) > GetRValue(tile) && GetBValue(tile) > GetGValue(tile)) << std::hex << tile;
    EXPECT_GT(Sum(upper), Sum(lower));
  }

  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), &ignored));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, DWORD(block.size()), block.data()));
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00830000u);
  // Readers of version information find the string table through the translation.
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length));
  const WORD* translation = static_cast<const WORD*>(value);
  char name[64];
  std::snprintf(name, sizeof(name), "\\StringFileInfo\\%04x%04x\\FileVersion", translation[0], translation[1]);
  ASSERT_TRUE(VerQueryValueA(block.data(), name, &value, &length)) << name;
  EXPECT_STREQ(static_cast<const char*>(value), "1.0.131.0");
}

}  // namespace
