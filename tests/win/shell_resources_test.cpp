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

struct ShellImage {
    HMODULE module = LoadLibraryExA((ProgramFolder() + "shell.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ~ShellImage() { FreeLibrary(module); }
    std::string Data(LPCSTR name, WORD type) const
    {
        HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(type));
        HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
        return loaded ? std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found)) : "";
    }
};

BOOL CALLBACK CountResource(HMODULE, LPCSTR, LPSTR, LONG_PTR counter)
{
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}
}  // namespace

TEST(ShellResources, TheMainIconHoldsItsSevenImagesAndOneManifestRunsTheShellAsTheInvoker)
{
    ShellImage shell;
    ASSERT_NE(shell.module, nullptr);
    const std::string group = shell.Data("MAINICON", 14);
    const WORD count = group.size() >= 6 ? reinterpret_cast<const WORD*>(group.data())[2] : 0;
    ASSERT_TRUE(count == 7 && group.size() == 3 * sizeof(WORD) + count * sizeof(GroupIconEntry));
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(group.data() + 3 * sizeof(WORD));
    const int expected[7][2] = {{48, 4}, {32, 4}, {16, 4}, {48, 8}, {32, 8}, {16, 8}, {48, 32}};
    for (int i = 0; i < 7; ++i) {
        const int side = expected[i][0];
        EXPECT_EQ(int(entries[i].width), side) << "image " << i;
        EXPECT_EQ(int(entries[i].height), side) << "image " << i;
        EXPECT_EQ(int(entries[i].bitCount), expected[i][1]) << "image " << i;
        std::string image = shell.Data(MAKEINTRESOURCEA(entries[i].id), 3);
        HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(&image[0]), DWORD(image.size()), TRUE, 0x00030000,
                                              side, side, 0);
        EXPECT_NE(icon, nullptr) << "image " << i;
        DestroyIcon(icon);
    }

    // Exactly one manifest, with the ID a program is started with; no DPI-awareness change.
    int manifests = 0;
    EnumResourceNamesA(shell.module, MAKEINTRESOURCEA(24), CountResource, reinterpret_cast<LONG_PTR>(&manifests));
    EXPECT_EQ(manifests, 1);
    const std::string manifest = shell.Data(MAKEINTRESOURCEA(1), 24);
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"), std::string::npos);
    EXPECT_NE(manifest.find("supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\""), std::string::npos);
    EXPECT_NE(manifest.find("supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\""), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
}
