#include <cstdio>
#include <iterator>

#include "arguments.h"
#include "code_page.h"
#include "commands.h"
#include "file_system.h"
#include "nsis_script.h"
#include "nsis_text.h"
#include "pe_image.h"
#include "process.h"
#include "rules.h"
#include "shipped_signing.h"
#include "signing.h"
#include "host/app_user_model_id.h"
#include "host/game_folder.h"
#include "host/settings_value.h"

namespace {

int Refuse(const std::string& text, int exitCode = 1)
{
    std::fprintf(exitCode == 2 ? stderr : stdout, "shellkit installer: %s\n", text.c_str());
    return exitCode;
}

bool IsVersion(const std::string& version)
{
    int parts = 0;
    size_t start = 0;
    while (start <= version.size()) {
        size_t end = version.find('.', start);
        if (end == std::string::npos)
            end = version.size();
        const std::string part = version.substr(start, end - start);
        if (part.empty() || part.size() > 5 || part.find_first_not_of("0123456789") != std::string::npos ||
            std::stoul(part) > 65535)
            return false;
        ++parts;
        start = end + 1;
    }
    return parts == 3;
}

std::string LastLines(const std::string& path)
{
    std::vector<uint8_t> bytes;
    ReadWholeFile(path, bytes);
    const std::string text(bytes.begin(), bytes.end());
    size_t from = text.size();
    for (int lines = 0; lines < 12 && from > 0; ++lines)
        from = text.rfind('\n', from - 1) == std::string::npos ? 0 : text.rfind('\n', from - 1);
    return text.substr(from);
}

// The makensis of the search path, or of its usual place on Windows.
std::string Makensis()
{
    if (PATH_SEPARATOR == '\\') {
        for (const char* folder : {"C:\\Program Files (x86)\\NSIS\\", "C:\\Program Files\\NSIS\\"})
            if (PathExists(std::string(folder) + "makensis.exe"))
                return std::string(folder) + "makensis.exe";
    }
    return "makensis";
}

// A path or a command-line word in the script's UTF-8: on Windows they come in the ANSI code page.
std::string ScriptTextFromPath(const std::string& text)
{
    std::vector<uint32_t> codePoints;
    return PATHS_ARE_UTF8 || !ArgumentCodePoints(text, codePoints) ? text : EncodeUtf8(codePoints);
}

// The plan as the script spells it. Natively it already is; on Windows the titles are still the
// settings' Windows-1252 bytes (ScriptTextFromTitle keeps them for the console and the signer).
InstallerPlan InScriptText(InstallerPlan plan, bool publisherGiven)
{
    if (PATHS_ARE_UTF8)
        return plan;
    plan.title = Utf8FromWindows1252(plan.title);
    plan.shortcut = Utf8FromWindows1252(plan.shortcut);
    plan.publisher = publisherGiven ? ScriptTextFromPath(plan.publisher) : Utf8FromWindows1252(plan.publisher);
    for (std::string* path : {&plan.name, &plan.sourceFolder, &plan.icon, &plan.signUninstaller, &plan.outFile})
        *path = ScriptTextFromPath(*path);
    for (FolderEntry& file : plan.files)
        file.relativePath = ScriptTextFromPath(file.relativePath);
    std::map<std::string, std::string> replacements;
    for (const auto& replaced : plan.replacements)
        replacements[ScriptTextFromPath(replaced.first)] = ScriptTextFromPath(replaced.second);
    plan.replacements = replacements;
    return plan;
}

PeImage ImageOf(const std::string& path)
{
    std::vector<uint8_t> bytes;
    PeImage image;
    std::string error;
    if (!ReadWholeFile(path, bytes) || !image.Read(bytes, error))
        return PeImage();
    return image;
}

}  // namespace

int RunInstaller(int argc, char** argv)
{
    Arguments arguments;
    std::string error;
    std::vector<std::string> optional = {"--publisher", "--version", "--makensis"};
    optional.insert(optional.end(), std::begin(SIGNING_OPTIONS), std::end(SIGNING_OPTIONS));
    if (!arguments.Parse(argc, argv, {"--out"}, optional, error, {NO_TIMESTAMP})) {
        std::fprintf(stderr, "shellkit installer: %s\nusage: shellkit installer FOLDER --out SETUP.exe "
                             "[--publisher NAME] [--version X.Y.Z] %s [--makensis PATH]\n",
                     error.c_str(), SIGNING_USAGE);
        return 2;
    }
    const std::string version = arguments.Get("--version", "1.0.0");
    if (!IsVersion(version))
        return Refuse("--version \"" + version + "\" is not X.Y.Z with numbers from 0 to 65535", 2);
    const std::string out = AbsolutePath(arguments.Get("--out"));
    if (!IsFolder(ParentOf(out)))
        return Refuse("no folder " + ParentOf(out) + " to write " + LastComponent(out) + " in", 2);
    if (IsFolder(out))
        return Refuse(out + " is a folder");

    Report report;
    SettingsReading reading;
    std::string name;
    const int checked = CheckFolder(arguments.folder, arguments.folder, report, reading, name);
    if (checked == 2)
        return 2;
    if (checked != 0)
        return Refuse(arguments.folder + " has " + std::to_string(report.errors) + " error(s): no installer was made");

    InstallerPlan plan;
    plan.name = name;
    plan.title = ScriptTextFromTitle(reading.name);
    plan.shortcut = ScriptTextFromTitle(FileNameFromTitle(reading.name, false));
    // The ID is the shell's own, which knows only the settings: never the --publisher given here.
    const std::string settingsPublisher = reading.publisher.empty() ? name : reading.publisher;
    plan.publisher = arguments.Get("--publisher", settingsPublisher);
    plan.applicationId = reading.applicationId;
    char appUserModelId[APP_USER_MODEL_ID_LIMIT + 1];
    MakeAppUserModelId(appUserModelId, settingsPublisher.c_str(), ParseSettingNumber(reading.applicationId.c_str()));
    plan.appUserModelId = appUserModelId;
    plan.version = version;
    plan.sourceFolder = AbsolutePath(arguments.folder);
    plan.x64 = ImageOf(JoinPath(plan.sourceFolder, name + ".exe")).machine == MACHINE_AMD64;
    ListShippedFiles(plan.sourceFolder, plan.files);

    // Built beside its place and moved there only when whole.
    const std::string work = TemporarySibling(out);
    if (!MakeFolder(work))
        return Refuse("cannot write in " + ParentOf(out));
    Signer signer;
    if (!MakeSigner(arguments, work, plan.title, signer, error)) {
        RemoveTree(work);
        return Refuse(error, 2);
    }
    // The setup and the uninstaller wear the game's icon.
    const std::vector<uint8_t> icon = ImageOf(JoinPath(plan.sourceFolder, name + "." + GAME_IMAGE_SUFFIX)).iconFile;
    plan.gameImageHasIcon = !icon.empty();
    if (!icon.empty()) {
        plan.icon = JoinPath(work, "game.ico");
        if (!WriteWholeFile(plan.icon, icon)) {
            RemoveTree(work);
            return Refuse("cannot write in " + work);
        }
    }
    const std::string built = JoinPath(work, "setup.exe");
    plan.outFile = built;
    const std::string log = JoinPath(work, "tool.log");
    const auto fail = [&](const std::string& text, const std::string& toolLog) {
        const std::string detail = LastLines(toolLog);
        RemoveTree(work);
        return Refuse(text + "; no installer was made" + (detail.empty() ? "" : ":\n" + detail));
    };
    const std::string makensis = arguments.Get("--makensis", Makensis());
    SigningRun signing{signer, work, "", 0};
    const std::string uninstaller = JoinPath(work, "uninstaller.exe");
    if (signer.Active()) {
        // Every PE file the setup writes or unpacks is signed, the uninstaller as makensis writes it.
        if (!SignShippedFiles(signing, plan.sourceFolder, plan.files, plan.replacements, error) ||
            !SignPlugins(signing, makensis, NsisTarget(plan.x64), plan.pluginFolder, error))
            return fail(error, signer.log);
        plan.signUninstaller = signer.ForUninstaller(uninstaller);
    }
    // The byte order mark tells makensis that the script is UTF-8, whatever the build machine's code page.
    const std::string text = "\xEF\xBB\xBF" + InstallerScript(InScriptText(plan, arguments.Has("--publisher")));
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    const std::string scriptPath = JoinPath(work, "installer.nsi");
    if (!WriteWholeFile(scriptPath, bytes))
        return fail("cannot write " + scriptPath, log);
    const int made = RunProgram({makensis, "-V2", scriptPath}, log);
    if (made < 0) {
        RemoveTree(work);
        return Refuse(arguments.Get("--makensis", "makensis") + " was not found: " +
                          (PATH_SEPARATOR == '\\' ? "install NSIS from nsis.sourceforge.io (it goes to "
                                                     "C:\\Program Files (x86)\\NSIS\\)"
                                                   : "install NSIS (the Debian package nsis)") +
                          ", or name it with --makensis PATH", 2);
    }
    if (made != 0)
        return fail("makensis failed", log);
    if (signer.Active()) {
        if (!PathExists(uninstaller) || !signing.Verify(uninstaller, "the uninstaller", error))
            return fail(error.empty() ? "the uninstaller was not signed" : error, signer.log);
        if (!signer.Sign(built))
            return fail("could not sign the installer", signer.log);
        if (!signing.Verify(built, "the installer", error))
            return fail(error, signer.log);
        signer.Forget();
    }
    RemoveTree(out);
    if (!RenamePath(built, out))
        return fail("cannot write " + out, log);
    RemoveTree(work);
    std::printf("%s: installer of \"%s\" %s by %s, %llu bytes, %d warning(s)\n", out.c_str(), plan.title.c_str(),
                version.c_str(), plan.publisher.c_str(), static_cast<unsigned long long>(FileSize(out)), report.warnings);
    return 0;
}
