#include "nsis_script.h"

#include <set>

namespace {

// An NSIS string: `variable` as it stands (an NSIS variable such as $INSTDIR, or nothing),
// then text in which "$" would start a variable and "$\"" is a quote.
std::string Nsis(const std::string& variable, const std::string& text)
{
    std::string escaped = variable;
    for (char c : text) {
        if (c == '$')
            escaped += "$$";
        else if (c == '"')
            escaped += "$\\\"";
        else
            escaped += c;
    }
    return "\"" + escaped + "\"";
}

std::string Windows(std::string path)
{
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    return path;
}

std::string NameOf(const std::string& relative)
{
    const size_t at = Windows(relative).find_last_of('\\');
    return at == std::string::npos ? relative : relative.substr(at + 1);
}

std::string FolderOf(const std::string& relative)
{
    const size_t at = Windows(relative).find_last_of('\\');
    return at == std::string::npos ? "" : Windows(relative).substr(0, at);
}

}  // namespace

std::string InstallerScript(const InstallerPlan& plan)
{
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + plan.name;
    const std::string exe = Nsis("$INSTDIR\\", plan.name + ".exe");
    const std::string icon = Nsis("$INSTDIR\\", plan.name + ".MWG");
    uint64_t bytes = 0;
    std::set<std::string> folders;
    for (const FolderEntry& file : plan.files) {
        bytes += file.size;
        for (std::string folder = FolderOf(file.relativePath); !folder.empty(); folder = FolderOf(folder))
            folders.insert(folder);
    }
    std::string s;
    s += "Unicode true\n";
    s += "!define UNINSTALL_KEY " + Nsis("", key) + "\n";
    s += "!define MULTIUSER_EXECUTIONLEVEL Highest\n";
    s += "!define MULTIUSER_INSTALLMODE_COMMANDLINE\n";
    s += "!define MULTIUSER_INSTALLMODE_INSTDIR " + Nsis("", plan.name) + "\n";
    s += "!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY \"${UNINSTALL_KEY}\"\n";
    s += "!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME \"InstallMode\"\n";
    s += "!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY \"${UNINSTALL_KEY}\"\n";
    s += "!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME \"InstallLocation\"\n";
    s += "!define MULTIUSER_MUI\n";
    s += "!include MultiUser.nsh\n!include MUI2.nsh\n";
    s += "Name " + Nsis("", plan.title) + "\n";
    s += "OutFile " + Nsis("", plan.outFile) + "\n";
    s += "SetCompressor /SOLID lzma\n";
    s += "VIProductVersion " + Nsis("", plan.version + ".0") + "\n";
    s += "VIAddVersionKey ProductName " + Nsis("", plan.title) + "\n";
    s += "VIAddVersionKey CompanyName " + Nsis("", plan.publisher) + "\n";
    s += "VIAddVersionKey FileDescription " + Nsis("", plan.title + " Setup") + "\n";
    s += "VIAddVersionKey FileVersion " + Nsis("", plan.version) + "\n";
    s += "VIAddVersionKey ProductVersion " + Nsis("", plan.version) + "\n";
    s += "!insertmacro MULTIUSER_PAGE_INSTALLMODE\n!insertmacro MUI_PAGE_DIRECTORY\n!insertmacro MUI_PAGE_COMPONENTS\n";
    s += "!insertmacro MUI_PAGE_INSTFILES\n!insertmacro MUI_UNPAGE_CONFIRM\n!insertmacro MUI_UNPAGE_INSTFILES\n";
    s += "!insertmacro MUI_LANGUAGE \"English\"\n";
    // MultiUser sets the folder of the install mode; a folder given with /D= wins over it.
    s += "Var GivenFolder\nFunction .onInit\n  StrCpy $GivenFolder $INSTDIR\n  !insertmacro MULTIUSER_INIT\n";
    s += "  StrCmp $GivenFolder \"\" +2\n  StrCpy $INSTDIR $GivenFolder\nFunctionEnd\n";
    s += "Function un.onInit\n  !insertmacro MULTIUSER_UNINIT\nFunctionEnd\n";

    s += "Section " + Nsis("", plan.title) + " SectionGame\n  SectionIn RO\n";
    std::string current = "-";
    for (const FolderEntry& file : plan.files) {
        const std::string folder = FolderOf(file.relativePath);
        if (folder != current) {
            s += "  SetOutPath " + (folder.empty() ? std::string("\"$INSTDIR\"") : Nsis("$INSTDIR\\", folder)) + "\n";
            current = folder;
        }
        const bool isShell = Windows(file.relativePath) == plan.name + ".exe";
        const std::string source = isShell && !plan.signedShell.empty() ? plan.signedShell
                                                                         : JoinPath(plan.sourceFolder, file.relativePath);
        s += "  File " + Nsis("", "/oname=" + NameOf(file.relativePath)) + " " + Nsis("", source) + "\n";
    }
    s += "  SetOutPath \"$INSTDIR\"\n";
    s += "  WriteUninstaller \"$INSTDIR\\Uninstall.exe\"\n";
    s += "  CreateShortCut " + Nsis("$SMPROGRAMS\\", plan.shortcut + ".lnk") + " " + exe + " \"\" " + icon + " 0\n";
    const auto regString = [&](const char* value, const std::string& data) {
        s += std::string("  WriteRegStr SHCTX \"${UNINSTALL_KEY}\" ") + value + " " + data + "\n";
    };
    regString("DisplayName", Nsis("", plan.title));
    regString("Publisher", Nsis("", plan.publisher));
    regString("DisplayVersion", Nsis("", plan.version));
    regString("DisplayIcon", Nsis("$INSTDIR\\", plan.name + ".MWG,0"));
    regString("InstallLocation", "\"$INSTDIR\"");
    regString("InstallMode", "\"$MultiUser.InstallMode\"");
    regString("UninstallString", "\"$\\\"$INSTDIR\\Uninstall.exe$\\\" /$MultiUser.InstallMode\"");
    regString("QuietUninstallString", "\"$\\\"$INSTDIR\\Uninstall.exe$\\\" /$MultiUser.InstallMode /S\"");
    s += "  WriteRegDWORD SHCTX \"${UNINSTALL_KEY}\" EstimatedSize " + std::to_string((bytes + 1023) / 1024) + "\n";
    s += "  WriteRegDWORD SHCTX \"${UNINSTALL_KEY}\" NoModify 1\n  WriteRegDWORD SHCTX \"${UNINSTALL_KEY}\" NoRepair 1\n";
    s += "SectionEnd\n";
    s += "Section \"Desktop shortcut\" SectionDesktop\n";
    s += "  CreateShortCut " + Nsis("$DESKTOP\\", plan.shortcut + ".lnk") + " " + exe + " \"\" " + icon + " 0\nSectionEnd\n";

    // What the game wrote into its folders stays; the uninstaller names it in its log.
    s += "Function un.NameWhatIsLeft\n  Exch $0\n  Push $1\n  Push $2\n";
    s += "  FindFirst $1 $2 \"$0\\*.*\"\n  loop:\n  StrCmp $2 \"\" done\n";
    s += "  StrCmp $2 \".\" next\n  StrCmp $2 \"..\" next\n";
    for (const std::string& folder : folders)
        s += "  StrCmp \"$0\\$2\" " + Nsis("$INSTDIR\\", folder) + " next\n";
    s += "  DetailPrint \"Left in place: $0\\$2\"\n  FileWrite $9 \"Left in place: $0\\$2$\\r$\\n\"\n";
    s += "  next:\n  FindNext $1 $2\n  Goto loop\n  done:\n  FindClose $1\n  Pop $2\n  Pop $1\n  Pop $0\nFunctionEnd\n";

    s += "Section \"Uninstall\"\n";
    s += "  FileOpen $9 " + Nsis("$TEMP\\", plan.name + " uninstall.log") + " w\n";
    for (const FolderEntry& file : plan.files)
        s += "  Delete " + Nsis("$INSTDIR\\", Windows(file.relativePath)) + "\n";
    s += "  Delete \"$INSTDIR\\Uninstall.exe\"\n";
    s += "  Delete " + Nsis("$SMPROGRAMS\\", plan.shortcut + ".lnk") + "\n";
    s += "  Delete " + Nsis("$DESKTOP\\", plan.shortcut + ".lnk") + "\n";
    s += "  DeleteRegKey SHCTX \"${UNINSTALL_KEY}\"\n";
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        const std::string path = Nsis("$INSTDIR\\", *folder);
        s += "  Push " + path + "\n  Call un.NameWhatIsLeft\n  RMDir " + path + "\n";
    }
    s += "  Push \"$INSTDIR\"\n  Call un.NameWhatIsLeft\n  RMDir \"$INSTDIR\"\n";
    s += "  FileWrite $9 \"Uninstalled: $INSTDIR$\\r$\\n\"\n  FileClose $9\n";
    s += "SectionEnd\n";
    return s;
}
