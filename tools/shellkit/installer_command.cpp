#include <cstdio>

#include "arguments.h"
#include "code_page.h"
#include "commands.h"
#include "file_system.h"
#include "nsis_script.h"
#include "process.h"
#include "rules.h"

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

struct Signer {
    std::string certificate;
    std::string password;
    std::string log;

    bool Sign(const std::string& in, const std::string& out, const std::string& name) const
    {
        std::vector<std::string> command = {"osslsigncode", "sign", "-pkcs12", certificate, "-n", name,
                                            "-in",          in,     "-out",    out};
        if (!password.empty())
            command.insert(command.begin() + 4, {"-pass", password});
        return RunProgram(command, log) == 0;
    }
};

}  // namespace

int RunInstaller(int argc, char** argv)
{
    Arguments arguments;
    std::string error;
    if (!arguments.Parse(argc, argv, {"--out"}, {"--publisher", "--version", "--sign", "--sign-password", "--makensis"}, error)) {
        std::fprintf(stderr, "shellkit installer: %s\nusage: shellkit installer FOLDER --out SETUP.exe "
                             "[--publisher NAME] [--version X.Y.Z] [--sign CERT.pfx [--sign-password P]] [--makensis PATH]\n",
                     error.c_str());
        return 2;
    }
    const std::string version = arguments.Get("--version", "1.0.0");
    if (!IsVersion(version))
        return Refuse("--version \"" + version + "\" is not X.Y.Z with numbers from 0 to 65535");
    if (arguments.Has("--sign-password") && !arguments.Has("--sign"))
        return Refuse("--sign-password without --sign");
    const std::string out = AbsolutePath(arguments.Get("--out"));
    if (!IsFolder(ParentOf(out)))
        return Refuse("no folder " + ParentOf(out) + " to write " + LastComponent(out) + " in", 2);
    if (IsFolder(out))
        return Refuse(out + " is a folder");
    if (arguments.Has("--sign") && !PathExists(arguments.Get("--sign")))
        return Refuse(arguments.Get("--sign") + ": no such certificate");

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
    plan.publisher = arguments.Get("--publisher", reading.publisher.empty() ? name : reading.publisher);
    plan.version = version;
    plan.sourceFolder = AbsolutePath(arguments.folder);
    ListShippedFiles(plan.sourceFolder, plan.files);

    // Built beside its place and moved there only when whole.
    const std::string work = TemporarySibling(out);
    if (!MakeFolder(work))
        return Refuse("cannot write in " + ParentOf(out));
    const std::string built = JoinPath(work, "setup.exe");
    plan.outFile = built;
    const std::string log = JoinPath(work, "tool.log");
    Signer signer{arguments.Get("--sign"), arguments.Get("--sign-password"), log};
    const auto fail = [&](const std::string& text) {
        const std::string detail = LastLines(log);
        RemoveTree(work);
        return Refuse(text + "; no installer was made" + (detail.empty() ? "" : ":\n" + detail));
    };
    if (!signer.certificate.empty()) {
        plan.signedShell = JoinPath(work, name + ".exe");
        if (!signer.Sign(JoinPath(plan.sourceFolder, name + ".exe"), plan.signedShell, plan.title))
            return fail("osslsigncode could not sign " + name + ".exe");
    }
    const std::string script = InstallerScript(plan);
    // The byte order mark tells makensis that the paths in it are UTF-8.
    const std::string text = std::string(PATHS_ARE_UTF8 ? "\xEF\xBB\xBF" : "") + script;
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    const std::string scriptPath = JoinPath(work, "installer.nsi");
    if (!WriteWholeFile(scriptPath, bytes))
        return fail("cannot write " + scriptPath);
    const int made = RunProgram({arguments.Get("--makensis", Makensis()), "-V2", scriptPath}, log);
    if (made < 0) {
        RemoveTree(work);
        return Refuse(arguments.Get("--makensis", "makensis") + " was not found: " +
                          (PATH_SEPARATOR == '\\' ? "install NSIS from nsis.sourceforge.io (it goes to "
                                                     "C:\\Program Files (x86)\\NSIS\\)"
                                                   : "install NSIS (the Debian package nsis)") +
                          ", or name it with --makensis PATH", 2);
    }
    if (made != 0)
        return fail("makensis failed");
    if (!signer.certificate.empty()) {
        const std::string signedSetup = JoinPath(work, "signed-setup.exe");
        if (!signer.Sign(built, signedSetup, plan.title + " Setup"))
            return fail("osslsigncode could not sign the installer");
        RemoveTree(built);
        RenamePath(signedSetup, built);
    }
    RemoveTree(out);
    if (!RenamePath(built, out))
        return fail("cannot write " + out);
    RemoveTree(work);
    std::printf("%s: installer of \"%s\" %s by %s, %llu bytes, %d warning(s)\n", out.c_str(), plan.title.c_str(),
                version.c_str(), plan.publisher.c_str(), static_cast<unsigned long long>(FileSize(out)), report.warnings);
    return 0;
}
