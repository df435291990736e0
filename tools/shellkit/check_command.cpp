#include <cctype>
#include <memory>

#include "arguments.h"
#include "closing_fit.h"
#include "commands.h"
#include "file_system.h"
#include "picture.h"
#include "rules.h"
#include "shell/closing_screen.h"
#include "host/game_folder.h"

namespace {

bool IsGameImage(const std::string& file)
{
    if (file.size() < 5 || file[file.size() - 4] != '.')
        return false;
    std::string extension = file.substr(file.size() - 3);
    for (char& c : extension)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return extension == GAME_IMAGE_SUFFIX;
}

void CheckBackground(const std::string& folder, const std::string& shown, Report& report)
{
    const std::string path = JoinPath(folder, BACKGROUND_FILE_NAME);
    const std::string pathShown = report.SourceOf(JoinPath(shown, BACKGROUND_FILE_NAME));
    if (!PathExists(path)) {
        report.Error(pathShown, 0, "missing: the closing screen has no picture behind it");
        return;
    }
    Picture picture;
    std::string problem;
    if (!DecodeJpeg(path, picture, problem)) {
        report.Error(pathShown, 0, problem + ": the closing screen has no picture behind it");
        return;
    }
    if (picture.width != CLIENT_WIDTH || picture.height != CLIENT_HEIGHT)
        report.Warning(pathShown, 0, "the picture is " + std::to_string(picture.width) + " x " +
                                         std::to_string(picture.height) + "; the closing screen is " +
                                         std::to_string(CLIENT_WIDTH) + " x " + std::to_string(CLIENT_HEIGHT) +
                                         ", so it is cut off or leaves the window bare");
    const int right = CLOSING_TEXT_LEFT + CLOSING_TEXT_WIDTH;
    double luminance = 0;
    if (!picture.MeanLuminance(CLOSING_TEXT_LEFT, CLOSING_TEXT_TOP, right, CLOSING_BUTTONS_TOP, luminance))
        return;
    // Black text's contrast against the picture, as accessibility guidelines measure it.
    const double contrast = (luminance + 0.05) / 0.05;
    if (contrast < LEAST_TEXT_CONTRAST) {
        char figures[200];
        std::snprintf(figures, sizeof(figures), "x %d to %d, y %d to %d) is dark: black text on it has a contrast of "
                      "%.1f:1, under the %.1f:1 that text needs to be read with ease", CLOSING_TEXT_LEFT, right, CLOSING_TEXT_TOP,
                      CLOSING_BUTTONS_TOP, contrast, LEAST_TEXT_CONTRAST);
        report.Warning(pathShown, 0, std::string("the picture under the closing screen's text column (") + figures +
                                         "; lighten that part of the picture");
    }
}

void CheckClosingScreenFit(const std::string& settingsShown, const SettingsReading& reading, Report& report)
{
    std::string problem;
    std::unique_ptr<TextMeasurer> measurer(OpenTextMeasurer(problem));
    if (!measurer) {
        report.Warning(settingsShown, 0, "the closing screen's fit was not checked: " + problem);
        return;
    }
    const uint32_t bottom = ClosingTextBottom(reading.name.c_str(), *measurer);
    if (bottom > static_cast<uint32_t>(CLOSING_BUTTONS_TOP))
        report.Warning(settingsShown, reading.nameLine, "with this name the closing screen's text ends at y " + std::to_string(bottom) +
                                             ", below the top of its buttons at y " +
                                             std::to_string(CLOSING_BUTTONS_TOP) +
                                             ": its last lines, the countdown among them, are hidden behind the "
                                             "buttons; shorten the name (" + MEASURING_METHOD + ")");
}

}  // namespace

int CheckFolder(const std::string& folder, const std::string& shown, Report& report, SettingsReading& reading,
                std::string& gameName)
{
    if (!IsFolder(folder)) {
        std::fprintf(stderr, "shellkit: %s: %s\n", shown.c_str(), PathExists(folder) ? "not a folder" : "no such folder");
        return 2;
    }
    std::vector<FolderEntry> files;
    if (!ListFilesBelow(folder, files)) {
        std::fprintf(stderr, "shellkit: %s: cannot be read whole\n", shown.c_str());
        return 2;
    }
    std::vector<std::string> games;
    for (const FolderEntry& file : files)
        if (file.relativePath.find(PATH_SEPARATOR) == std::string::npos && IsGameImage(file.relativePath))
            games.push_back(file.relativePath.substr(0, file.relativePath.size() - 4));
    if (games.empty())
        report.Error(shown, 0, "no game: the folder needs the game's own executable as NAME.MWG beside the shell NAME.exe");
    else if (games.size() > 1)
        report.Error(shown, 0, "more than one .MWG file: the shell starts only the one named like itself");
    gameName = games.empty() ? "" : games[0];
    CheckStrayFiles(files, shown, gameName, report);

    const std::string settings = JoinPath(folder, SETTINGS_FILE_NAME);
    const std::string settingsShown = JoinPath(shown, SETTINGS_FILE_NAME);
    std::vector<uint8_t> bytes;
    if (!PathExists(settings))
        report.Error(settingsShown, 0, "missing: the shell stops with \"Could not get file size\"");
    else if (!ReadWholeFile(settings, bytes))
        report.Error(settingsShown, 0, "cannot be read: the shell stops with \"Could not get file size\"");
    else
        CheckSettings(settingsShown, bytes, report, reading);

    uint16_t shellMachine = 0;
    if (!gameName.empty()) {
        const std::string problem = FileNameProblem(gameName);
        if (!problem.empty())
            report.Error(JoinPath(shown, gameName + "." + GAME_IMAGE_SUFFIX), 0, problem);
        shellMachine = CheckExecutables(folder, shown, gameName, report);
        std::vector<FolderEntry> shipped;
        ListShippedFiles(folder, shipped);
        CheckInstalledPaths(shipped, shown, gameName, reading.publisher, shellMachine, report);
    }
    CheckArcadeLayer(folder, shown, shellMachine, report);
    CheckBackground(folder, shown, report);
    if (reading.hasName && !reading.name.empty())
        CheckClosingScreenFit(settingsShown, reading, report);
    return report.errors > 0 ? 1 : 0;
}

int RunCheck(int argc, char** argv)
{
    Arguments arguments;
    std::string error;
    if (!arguments.Parse(argc, argv, {}, {}, error)) {
        std::fprintf(stderr, "shellkit check: %s\nusage: shellkit check FOLDER\n", error.c_str());
        return 2;
    }
    Report report;
    SettingsReading reading;
    std::string gameName;
    const int result = CheckFolder(arguments.folder, arguments.folder, report, reading, gameName);
    if (result != 2)
        std::printf("%s: %d error(s), %d warning(s)\n", arguments.folder.c_str(), report.errors, report.warnings);
    return result;
}
