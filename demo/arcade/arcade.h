#pragma once
#include <windows.h>

#include <string>

#include "catalogue.h"
#include "faults.h"
#include "journal.h"
#include "settings.h"

// Everything the DLL remembers between calls; one instance per loaded copy of the DLL.
struct Arcade {
    std::string ownPath;
    std::string folder;  // the arcade folder, ending with a backslash
    ArcadeSettings settings;
    Journal journal;
    Catalogue catalogue;
    Faults faults;
    bool initialized = false;
    bool updateRequired = false;
    unsigned sessions = 0;
    unsigned sessionFrames = 0;
    unsigned char palette[768] = {};
    char lastError[512] = "";

    static Arcade& Instance();

    void LoadSettings();
    unsigned short Initialize(unsigned applicationId, unsigned channelId);
    void ShutDown();
    unsigned short EnterMenuSession(unsigned short mode, unsigned width, unsigned height);
    void DrawFrame(unsigned char* pixels, unsigned stride, unsigned short bytesPerPixel, unsigned short repaint,
                   bool updateRolledBack, bool rollbackNotice);
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void SetPalette(const unsigned char* entries);
    void SetError(const std::string& text);
    // What the DLL's own tools may ask by name: "BackControl" is "left,top,right,bottom".
    const char* Value(const std::string& name);
    std::string valueText;
};
