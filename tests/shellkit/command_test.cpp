#include <gtest/gtest.h>

#include "kit_run.h"

namespace {

struct BadInput {
    const char* name;
    std::string arguments;
    int exitCode;
    std::string message;
};

std::string Printed(const KitRun& run)
{
    std::string text;
    for (const std::string& line : run.lines)
        text += line + "\n";
    return text;
}

// Everything in a folder, so that a refused command is seen to leave nothing behind.
std::vector<std::string> Listing(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Whether a PE file carries an Authenticode signature: its certificate table is not empty.
bool IsSigned(const fs::path& image)
{
    const std::string bytes = ReadText(image);
    if (bytes.size() < 0x40)
        return false;
    const uint32_t pe = static_cast<uint8_t>(bytes[0x3C]) | static_cast<uint8_t>(bytes[0x3D]) << 8;
    const size_t certificateSize = pe + 24 + 96 + 4 * 8 + 4;
    return bytes.size() > certificateSize + 4 && ReadText(image).substr(certificateSize, 4) != std::string(4, '\0');
}

TEST(ShellkitCommands, BadInputIsRefusedWithAReasonAndLeavesNothingBehind)
{
    Scratch scratch;
    const fs::path game = scratch.root / "Game";
    const fs::path notes = scratch.root / "notes.txt";
    WriteText(notes, "not a program");
    ASSERT_EQ(RunKit(NewArguments(game, "Target Practice")).exitCode, 0);
    const std::string good = NewArguments(scratch.root / "Fresh", "Target Practice");
    const auto with = [&](const std::string& flag, const std::string& value) {
        std::string arguments = good;
        const size_t at = arguments.find(flag + " ");
        const size_t end = arguments.find(" --", at + 2);
        return arguments.replace(at, end == std::string::npos ? std::string::npos : end - at, flag + " " + value);
    };
    const std::string setup = Quoted(scratch.root / "Setup.exe");
    const BadInput cases[] = {
        {"no command", "", 2, "shellkit new FOLDER"},
        {"unknown command", "make", 2, "unknown command \"make\""},
        {"a flag missing", with("--arcade", ""), 2, "--arcade needs a value"},
        {"a required flag left out", good.substr(0, good.find(" --name")), 2, "--name is missing"},
        {"an unknown flag", good + " --colour blue", 2, "unknown option --colour"},
        {"a flag twice", good + " --app-id 5", 2, "--app-id is given twice"},
        {"two folders", good + " Other", 2, "\"Other\" is one too many"},
        {"name with a slash", with("--name", "'Target/Practice'"), 1, "holds \"/\", which a Windows file name cannot hold"},
        {"name over 254", with("--name", std::string(255, 'x')), 1, "the name is 255 characters long"},
        {"name outside ASCII", with("--name", "'Caf\xC3\xA9'"), 1, "outside printable ASCII"},
        {"name of a device", with("--name", "aux"), 1, "is a device name"},
        {"name holding a key", with("--name", "'Developer Channel ID 9'"), 1, "holds the settings key"},
        {"ID not a number", with("--app-id", "12abc"), 1, "--app-id \"12abc\" is not a decimal number: the shell reads 12"},
        {"channel 0", with("--channel", "0"), 1, "--channel reads as 0"},
        {"folder exists", NewArguments(game, "Target Practice"), 1, "exists already"},
        {"no parent folder", NewArguments(scratch.root / "missing" / "Game", "Target Practice"), 1, "no folder"},
        {"parent is a file", NewArguments(notes / "Game", "Target Practice"), 1, "no folder"},
        {"parent cannot be written", NewArguments("/proc/Game", "Target Practice"), 1, "cannot write in /proc"},
        {"game missing", with("--game", Quoted(scratch.root / "none.exe")), 1, "none.exe: no such file; nothing was written"},
        {"game a folder", with("--game", Quoted(scratch.root)), 1, "nothing was written"},
        {"game not a program", with("--game", Quoted(notes)), 1, "would have 1 error(s); nothing was written"},
        {"background not a JPEG", with("--background", Quoted(notes)), 1, "Background.jpg: error: is not a JPEG picture"},
        {"installer without --out", "installer " + Quoted(game), 2, "--out is missing"},
        {"installer of no folder", "installer " + Quoted(scratch.root / "none") + " --out " + setup, 2, "no such folder"},
        {"version of two parts", "installer " + Quoted(game) + " --out " + setup + " --version 1.2", 1, "is not X.Y.Z"},
        {"version part too large", "installer " + Quoted(game) + " --out " + setup + " --version 1.2.65536", 1, "is not X.Y.Z"},
        {"out in no folder", "installer " + Quoted(game) + " --out " + Quoted(scratch.root / "none" / "S.exe"), 1, "no folder"},
        {"no certificate", "installer " + Quoted(game) + " --out " + setup + " --sign " + Quoted(scratch.root / "c.pfx"), 1, "no such certificate"},
        {"password alone", "installer " + Quoted(game) + " --out " + setup + " --sign-password x", 1, "--sign-password without --sign"},
        {"certificate not one", "installer " + Quoted(game) + " --out " + setup + " --sign " + Quoted(notes), 1, "osslsigncode could not sign"},
    };
    const std::vector<std::string> before = Listing(scratch.root);
    for (const BadInput& input : cases) {
        SCOPED_TRACE(input.name);
        const KitRun run = RunKit(input.arguments);
        EXPECT_EQ(run.exitCode, input.exitCode) << Printed(run);
        EXPECT_NE(Printed(run).find(input.message), std::string::npos) << Printed(run);
        EXPECT_EQ(Listing(scratch.root), before);
    }

    fs::remove(game / "Background.jpg");
    const KitRun broken = RunKit("installer " + Quoted(game) + " --out " + setup);
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_NE(Printed(broken).find("has 1 error(s): no installer was made"), std::string::npos) << Printed(broken);
    EXPECT_FALSE(fs::exists(scratch.root / "Setup.exe"));
}

TEST(ShellkitCommands, PathsWithSpacesAndNonAsciiCharactersWorkAndSigningSignsTheInstaller)
{
    Scratch scratch;
    const fs::path place = scratch.root / "Spiele f\xC3\xBCr alle";
    fs::create_directory(place);
    const fs::path game = place / "Target Practice";
    ASSERT_EQ(RunKit(NewArguments(game, "Target Practice")).exitCode, 0);
    EXPECT_EQ(RunKit("check " + Quoted(game)).exitCode, 0);

    const fs::path setup = place / "Target Practice Setup.exe";
    WriteText(setup, "an older installer, replaced");
    const KitRun made = RunKit("installer " + Quoted(game) + " --out " + Quoted(setup) + " --version 2.0.1");
    ASSERT_EQ(made.exitCode, 0) << Printed(made);
    EXPECT_EQ(ReadText(setup).substr(0, 2), "MZ");
    EXPECT_GT(fs::file_size(setup), 100000u);
    EXPECT_FALSE(IsSigned(setup));

    const std::string key = Quoted(scratch.root / "key.pem");
    const std::string certificate = Quoted(scratch.root / "certificate.pem");
    const fs::path pfx = scratch.root / "publisher.pfx";
    ASSERT_EQ(std::system(("openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=Publisher -days 2 -keyout " + key +
                           " -out " + certificate + " >/dev/null 2>&1 && openssl pkcs12 -export -passout pass:secret"
                           " -inkey " + key + " -in " + certificate + " -out " + Quoted(pfx)).c_str()),
              0);
    const KitRun signedRun = RunKit("installer " + Quoted(game) + " --out " + Quoted(setup) + " --sign " + Quoted(pfx) +
                                    " --sign-password secret");
    ASSERT_EQ(signedRun.exitCode, 0) << Printed(signedRun);
    EXPECT_TRUE(IsSigned(setup));
    EXPECT_EQ(Listing(place).size(), 10u) << "the folder's 9 entries and the installer, nothing left over";
}

}  // namespace
