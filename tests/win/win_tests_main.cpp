// Lays out this program's folder as the shell's is (settings, and the demo game as its game image).
#include <gtest/gtest.h>

#include "harness.h"

int main(int argc, char** argv)
{
    const std::string folder = ProgramFolder();
    WriteFileBytes(folder + "MAW_002.dat",
                   "Application ID=-1\r\nApplication Name=Win Test Game\r\nDeveloper Channel ID 42\r\n");
    if (!CopyFileTo(folder + "demo-game.exe", folder + "win_tests.MWG"))
        return fprintf(stderr, "demo-game.exe must lie beside the test program\n"), 1;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
