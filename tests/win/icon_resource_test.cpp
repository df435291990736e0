#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "harness.h"

namespace {
#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

const BYTE* FindData(HMODULE module, LPCSTR name, WORD type, DWORD* size)
{
    HRSRC info = FindResourceA(module, name, MAKEINTRESOURCEA(type));
    *size = info ? SizeofResource(module, info) : 0;
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}
}  // namespace

TEST(ShellResources, MainIconHoldsItsSevenImagesAndTheVersionIsBuild131)
{
    const std::string path = ProgramFolder() + "shell.exe";
    HMODULE shell = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(shell, nullptr) << path;
    DWORD size = 0;
    const BYTE* group = FindData(shell, "MAINICON", 14, &size);
    ASSERT_NE(group, nullptr);
    const WORD count = reinterpret_cast<const WORD*>(group)[2];
    ASSERT_TRUE(count == 7 && size == 3 * sizeof(WORD) + count * sizeof(GroupIconEntry));
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(group + 3 * sizeof(WORD));
    const int expected[7][2] = {{48, 4}, {32, 4}, {16, 4}, {48, 8}, {32, 8}, {16, 8}, {48, 32}};
    for (int i = 0; i < 7; ++i) {
        const int side = expected[i][0];
        EXPECT_TRUE(entries[i].width == side && entries[i].height == side && entries[i].bitCount == expected[i][1])
            << "image " << i;
        DWORD imageSize = 0;
        BYTE* image = const_cast<BYTE*>(FindData(shell, MAKEINTRESOURCEA(entries[i].id), 3, &imageSize));
        HICON icon = image ? CreateIconFromResourceEx(image, imageSize, TRUE, 0x00030000, side, side, 0) : nullptr;
        ASSERT_NE(icon, nullptr) << "image " << i;
        PixelCanvas canvas(side, side, RGB(1, 2, 3));
        DrawIconEx(canvas.dc, 0, 0, icon, side, side, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
        EXPECT_GT(canvas.Count(RGB(1, 2, 3), nullptr, true), side * side / 2) << "image " << i << " draws its tile";
    }
    FreeLibrary(shell);

    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    ASSERT_TRUE(!block.empty() && GetFileVersionInfoA(path.c_str(), 0, DWORD(block.size()), block.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_TRUE(fixed->dwFileVersionMS == 0x00010000u && fixed->dwFileVersionLS == 0x00830000u);
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904E4\\FileVersion", &value, &length));
    EXPECT_STREQ(static_cast<const char*>(value), "1.0.131.0");
}
