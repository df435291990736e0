#include <gtest/gtest.h>

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

BOOL CALLBACK CountResource(HMODULE, LPCSTR, LPSTR, LONG_PTR counter)
{
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}
}  // namespace

TEST(ShellResources, TheMainIconHoldsItsSevenImagesAndOneManifestRunsTheShellAsTheInvoker)
{
    HMODULE shell = LoadLibraryExA((ProgramFolder() + "shell.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(shell, nullptr);
    const auto data = [&](LPCSTR name, WORD type) {
        HRSRC found = FindResourceA(shell, name, MAKEINTRESOURCEA(type));
        HGLOBAL loaded = found ? LoadResource(shell, found) : nullptr;
        return loaded ? std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(shell, found)) : "";
    };
    const std::string group = data("MAINICON", 14);
    ASSERT_GE(group.size(), 3 * sizeof(WORD));
    ASSERT_EQ(reinterpret_cast<const WORD*>(group.data())[2], 7);
    ASSERT_EQ(group.size(), 3 * sizeof(WORD) + 7 * sizeof(GroupIconEntry));
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(group.data() + 3 * sizeof(WORD));
    const char* const expected[7] = {"48x48x4", "32x32x4", "16x16x4", "48x48x8", "32x32x8", "16x16x8", "48x48x32"};
    for (int i = 0; i < 7; ++i) {
        const int side = entries[i].width;
        EXPECT_EQ(std::to_string(side) + "x" + std::to_string(entries[i].height) + "x" + std::to_string(entries[i].bitCount),
                  expected[i]) << "image " << i;
        std::string image = data(MAKEINTRESOURCEA(entries[i].id), 3);
        HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(&image[0]), DWORD(image.size()), TRUE, 0x00030000,
                                              side, side, 0);
        EXPECT_NE(icon, nullptr) << "image " << i;
        DestroyIcon(icon);
    }

    // Exactly one manifest, with the ID a program is started with; no DPI-awareness change.
    int manifests = 0;
    EnumResourceNamesA(shell, MAKEINTRESOURCEA(24), CountResource, reinterpret_cast<LONG_PTR>(&manifests));
    EXPECT_EQ(manifests, 1);
    const std::string manifest = data(MAKEINTRESOURCEA(1), 24);
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"), std::string::npos);
    EXPECT_NE(manifest.find("supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\""), std::string::npos);
    EXPECT_NE(manifest.find("supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\""), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    FreeLibrary(shell);
}
