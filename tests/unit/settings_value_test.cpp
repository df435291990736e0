#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/game_image_name.h"
#include "host/settings_value.h"

static std::string Extract(const char* text, const char* key, unsigned size = 255)
{
    char value[512];
    std::memset(value, 'Z', sizeof(value));
    ExtractSettingValue(value, size, text, key, "\n");
    EXPECT_LT(std::strlen(value), size) << "value must end inside the buffer";
    return value;
}

TEST(SettingsValue, ExtractsValuesAtTheirEdgesFromNarrowOrUtf16TextAndCachesOnlyNonEmptyNonZeroOnes)
{
    EXPECT_EQ(Extract("Application ID=1234\r\nApplication Name=Sample Game\r\n", "Application Name="), "Sample Game");
    // A bare LF loses the value's last character; the character is dropped unseen.
    EXPECT_EQ(Extract("Application Name=Sample\n", "Application Name="), "Sampl");
    EXPECT_EQ(Extract("Application Name=Sample", "Application Name="), "Sample");
    EXPECT_EQ(Extract("Application Name=\r\nApplication ID=5\r\n", "Application Name="), "");
    EXPECT_EQ(Extract("Application Name=\nApplication ID=5\r\n", "Application Name="), "");
    EXPECT_EQ(Extract("XApplication Name=Sample\r\n", "Application Name="), "Sample");
    EXPECT_EQ(Extract("application name=Lower\r\nApplication Name=Upper\r\n", "Application Name="), "Upper");
    EXPECT_EQ(Extract("Application Name=First\r\nApplication Name=Second\r\n", "Application Name="), "First");
    EXPECT_EQ(Extract("Application ID=123456\r\n", "Application ID=", 5), "1234");
    EXPECT_EQ(Extract("Application ID=1234\r\n", "Application ID=", 5), "1234");
    EXPECT_EQ(Extract("Application ID=1234\r\n", "Application ID=", 1), "");

    // A UTF-16 file is narrowed first.
    char out[64];
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("Application Name=Hi\r\n"))
        utf16 += std::string(1, c) + '\0';
    utf16 += "\x3A\x26";  // a character outside the 8-bit range
    utf16 += "\x41";      // a dangling odd byte is dropped
    const size_t length = DecodeSettingsBytes(reinterpret_cast<const unsigned char*>(utf16.data()), utf16.size(), out);
    EXPECT_EQ(std::string(out, length), "Application Name=Hi\r\n?");
    EXPECT_EQ(Extract(out, "Application Name="), "Hi");

    // Numbers follow atoi's rules; lookups cache only values that are not empty or zero.
    EXPECT_EQ(ParseSettingNumber(" \t+42xyz"), 42u);
    EXPECT_EQ(ParseSettingNumber("-1"), 4294967295u);
    EXPECT_EQ(ParseSettingNumber("=42"), 0u);
    EXPECT_EQ(ParseSettingNumber("abc"), 0u);
    EXPECT_EQ(ParseSettingNumber("99999999999999999999"), 2147483647u);
    EXPECT_EQ(ParseSettingNumber("-2147483648"), 0x80000000u);
    EXPECT_EQ(ParseSettingNumber("-99999999999"), 0x80000000u);

    uint32_t channel = 0;
    EXPECT_EQ(LookupSettingNumber(channel, "Developer Channel ID=42\r\n", "Developer Channel ID"), 0u);
    EXPECT_EQ(LookupSettingNumber(channel, "Developer Channel ID 42\r\n", "Developer Channel ID"), 42u);
    EXPECT_EQ(LookupSettingNumber(channel, "Developer Channel ID 43\r\n", "Developer Channel ID"), 42u);

    uint32_t id = 0;
    EXPECT_EQ(LookupSettingNumber(id, "Application ID=abc\r\n", "Application ID="), 0u);
    EXPECT_EQ(LookupSettingNumber(id, "Application ID=0\r\n", "Application ID="), 0u);
    EXPECT_EQ(LookupSettingNumber(id, "Application ID=-1\r\n", "Application ID="), 4294967295u);
    EXPECT_EQ(LookupSettingNumber(id, "Application ID=7\r\n", "Application ID="), 4294967295u);

    char name[256] = {};
    EXPECT_STREQ(LookupSettingName(name, "Application Name=\r\n"), "");
    EXPECT_STREQ(LookupSettingName(name, "Application Name=Late\r\n"), "Late");
    EXPECT_STREQ(LookupSettingName(name, "Application Name=Other\r\n"), "Late");

    char longName[256] = {};
    const std::string text = "Application Name=" + std::string(300, 'n') + "\r\n";
    EXPECT_EQ(std::string(LookupSettingName(longName, text.c_str())), std::string(254, 'n'));
}

TEST(GameImageName, KeepsTheFileNameAfterEitherSeparator)
{
    const char* const cases[][2] = {{"C:\\Games\\Puzzle\\Puzzle.exe", "Puzzle.MWG"},
                                    {"C:/Games/Puzzle.exe", "Puzzle.MWG"},
                                    {"C:\\Games/Mixed\\Deep/Shell.exe", "Shell.MWG"},
                                    {"C:/Games\\Mixed/Deep\\Shell.exe", "Shell.MWG"},
                                    {"C:\\a\\x.e", "MWG"}};
    for (const auto& c : cases) {
        char path[260];
        std::strcpy(path, c[0]);
        MakeGameImageName(path);
        EXPECT_STREQ(path, c[1]) << c[0];
    }
}
