#include "arcade.h"

#include <cstdlib>
#include <cstring>

#include "arcade/morvessa_arcade.h"
#include "arcade_files.h"

Arcade& Arcade::Instance()
{
    // The version exports come before madll_Initialize, and they are journaled too.
    static Arcade arcade;
    if (arcade.ownPath.empty()) {
        arcade.ownPath = OwnModulePath();
        arcade.folder = FolderOf(arcade.ownPath);
        arcade.LoadSettings();
    }
    return arcade;
}

void Arcade::LoadSettings()
{
    settings = ArcadeSettings();
    settings.Parse(ReadTextFile(folder + "ArcadeTest.txt"));
    journal.path = settings.journal;
    faults.name = settings.fault;
}

void Arcade::SetError(const std::string& text)
{
    const size_t length = text.size() < sizeof(lastError) - 1 ? text.size() : sizeof(lastError) - 1;
    std::memcpy(lastError, text.data(), length);
    lastError[length] = '\0';
}

unsigned short Arcade::Initialize(unsigned applicationId, unsigned channelId)
{
    LoadSettings();
    unsigned ordinal = 0;
    if (!settings.initializeFailOn.empty()) {
        // Counted in a file: the shell reloads the DLL, and each load starts with fresh statics.
        const std::string counter = folder + "ArcadeTest.count";
        ordinal = static_cast<unsigned>(std::strtoul(ReadTextFile(counter).c_str(), nullptr, 10)) + 1;
        WriteTextFile(counter, std::to_string(ordinal) + "\r\n");
    }
    const unsigned result = settings.InitializeResult(ordinal);
    if (result != 0) {
        SetError("Initialization failed.");
        return static_cast<unsigned short>(result);
    }
    if (!PrepareArcadeFolder(folder, ownPath, applicationId, channelId)) {
        SetError("The arcade files could not be written in " + folder + ".");
        return 3;
    }
    SetError("");
    initialized = true;
    faults.AfterInitialize(folder);
    return 0;
}

void Arcade::ShutDown()
{
    catalogue.End();
    if (initialized) {
        WriteStateFile(folder, "sessions=" + std::to_string(sessions) + "\r\nframes=" + std::to_string(sessionFrames) +
                                   "\r\n");
    }
    initialized = false;
    updateRequired = false;
}

unsigned short Arcade::EnterMenuSession(unsigned short mode, unsigned width, unsigned height)
{
    if (mode != MADLL_MENU_OTHER_GAMES) {
        SetError("Unknown menu mode.");
        return 2;
    }
    if (faults.Is("no_reenter") && sessions > 0) {
        SetError("The menu was closed once already.");
        return 4;
    }
    if (settings.enterResult != 0) {
        SetError(settings.errorText);
        return static_cast<unsigned short>(settings.enterResult);
    }
    catalogue.Enter(width, height, settings.animate, GetTickCount());
    ++sessions;
    SetError("");
    return 0;
}

void Arcade::DrawFrame(unsigned char* pixels, unsigned stride, unsigned short bytesPerPixel, unsigned short repaint,
                       bool updateRolledBack, bool rollbackNotice)
{
    catalogue.Draw(pixels, stride, bytesPerPixel, repaint == MADLL_FRAME_REPAINTED, updateRolledBack || rollbackNotice, GetTickCount());
    if (!catalogue.running)
        return;
    ++sessionFrames;
    faults.AfterDraw(pixels, stride, static_cast<unsigned>(catalogue.height), sessionFrames);
    if (settings.updateAfterFrames != 0 && sessionFrames == settings.updateAfterFrames &&
        !IsUpToDate(ownPath, settings)) {
        if (!StageUpdate(folder, ownPath, settings))
            SetError("The update could not be staged completely.");
        updateRequired = true;
    }
}

bool Arcade::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (faults.Is("never_ends"))
        return true;
    const bool used = catalogue.HandleMessage(message, wParam, lParam);
    return settings.Consumes(message) || used;
}

void Arcade::SetPalette(const unsigned char* entries)
{
    if (entries)
        std::memcpy(palette, entries, sizeof(palette));
}

const char* Arcade::Value(const std::string& name)
{
    valueText.clear();
    if (name == "BackControl" && catalogue.running) {
        const int x = (catalogue.width - LAYOUT_WIDTH) / 2;
        const int y = (catalogue.height - LAYOUT_HEIGHT) / 2;
        valueText = std::to_string(BACK_RECT.left + x) + "," + std::to_string(BACK_RECT.top + y) + "," +
                    std::to_string(BACK_RECT.right + x) + "," + std::to_string(BACK_RECT.bottom + y);
    }
    return valueText.c_str();
}
