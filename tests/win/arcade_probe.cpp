// Arcade operations in a process of their own, for what ends a process (failed assertions) and
// what shows boxes on the calling thread; the test lays out the arcade folder beside it.
#include <windows.h>

#include <cstdint>
#include <string>

#include "arcade/ma_api.h"

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const std::string operation = argv[1];
    if (operation == "session-before-init") {
        MA_IsTheMenuSessionComplete();
        return 0;
    }
    if (operation == "name-too-long") {
        const std::string name(MAX_APPLICATION_NAME_LENGTH, 'n');
        MA_Initialize(1, name.c_str(), 2, 0);
        return 0;
    }
    if (operation == "beyond-repair") {
        // The staged update and the backup are both broken: a box, and nothing touches the DLL again.
        static uint8_t frame[2160 * 540];
        if (MA_Initialize(1234, "Probe", 42, 0) != 0 || MA_EnterMenuSession(1, 720, 540) != 0)
            return 10;
        MA_DrawNextFrameIntoBuffer(frame, 2160, 3, 0);
        MA_DrawNextFrameIntoBuffer(frame, 2160, 3, 1);
        const RECT pixel = {0, 0, 1, 1}, first = MA_GetUpdateRect(0), sixth = MA_GetUpdateRect(5);
        if (!EqualRect(&first, &pixel) || !EqualRect(&sixth, &pixel) || MA_GetNumberOfRectsToUpdate() != 0 ||
            !MA_IsTheMenuSessionComplete())
            return 11;
        return MA_EnterMenuSession(1, 720, 540);  // a box again, and "started"
    }
    return 2;
}
