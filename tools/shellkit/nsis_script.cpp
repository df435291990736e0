#include "nsis_script.h"

#include "nsis_guards.h"
#include "nsis_sections.h"
#include "nsis_shortcuts.h"
#include "nsis_text.h"
#include "host/game_folder.h"

namespace {

// NSIS takes ', " or ` around a string; a command may hold the first two itself.
std::string AnyQuoted(const std::string& text)
{
    for (char quote : {'`', '\'', '"'})
        if (text.find(quote) == std::string::npos)
            return quote + text + quote;
    return "`" + text + "`";
}

std::string DefaultInstallDir(const InstallerPlan& plan)
{
    return Nsis("$LOCALAPPDATA\\Programs\\", DefaultFolderPart(plan));
}

std::string Header(const InstallerPlan& plan)
{
    std::string s;
    const std::string target = NsisTarget(plan.x64);
    s += "Target " + target + "\n";
    // Plug-ins of a folder added here win over makensis's own of the same name.
    if (!plan.pluginFolder.empty())
        s += "!addplugindir /" + target + " " + Nsis("", plan.pluginFolder) + "\n";
    s += "!define UNINSTALL_KEY " +
         Nsis("", "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
                      UninstallKeyName(plan.publisher, plan.applicationId)) + "\n";
    // No elevation: a player's own copy, which the arcade layer can write. The mode page and
    // /AllUsers are there when the setup runs with administrator rights.
    s += "!define MULTIUSER_EXECUTIONLEVEL Standard\n!define MULTIUSER_EXECUTIONLEVEL_ALLUSERS\n";
    s += "!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER\n";
    if (plan.x64)
        s += "!define MULTIUSER_USE_PROGRAMFILES64\n";
    s += "!define MULTIUSER_INSTALLMODE_COMMANDLINE\n";
    s += "!define MULTIUSER_INSTALLMODE_INSTDIR " + Nsis("", DefaultFolderPart(plan)) + "\n";
    // Its last part is what Browse adds to the folder the player picks.
    s += "InstallDir " + DefaultInstallDir(plan) + "\n";
    s += "!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY \"${UNINSTALL_KEY}\"\n";
    s += "!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME \"InstallMode\"\n";
    s += "!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY \"${UNINSTALL_KEY}\"\n";
    s += "!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME \"InstallLocation\"\n";
    s += "!define MULTIUSER_MUI\n";
    if (!plan.icon.empty())
        s += "!define MUI_ICON " + Nsis("", plan.icon) + "\n!define MUI_UNICON " + Nsis("", plan.icon) + "\n";
    s += "!define MUI_FINISHPAGE_RUN\n!define MUI_FINISHPAGE_RUN_TEXT " + Nsis("", "Play " + plan.title + " now") + "\n";
    s += "!define MUI_FINISHPAGE_RUN_FUNCTION PlayNow\n";
    s += "!include MultiUser.nsh\n!include MUI2.nsh\n!include FileFunc.nsh\n!include WordFunc.nsh\n";
    s += "Name " + Nsis("", plan.title) + "\n";
    s += "OutFile " + Nsis("", plan.outFile) + "\n";
    s += "SetCompressor /SOLID lzma\n";
    // Sharp pages on high-DPI screens rather than a bitmap stretched by Windows.
    s += "ManifestDPIAware true\n";
    s += "BrandingText " + Nsis("", plan.publisher) + "\n";
    // A file that cannot be written stops the setup; it is never skipped.
    s += "AllowSkipFiles off\n";
    s += "VIProductVersion " + Nsis("", plan.version + ".0") + "\n";
    s += "VIAddVersionKey ProductName " + Nsis("", plan.title) + "\n";
    s += "VIAddVersionKey CompanyName " + Nsis("", plan.publisher) + "\n";
    s += "VIAddVersionKey FileDescription " + Nsis("", plan.title + " Setup") + "\n";
    s += "VIAddVersionKey FileVersion " + Nsis("", plan.version) + "\n";
    s += "VIAddVersionKey ProductVersion " + Nsis("", plan.version) + "\n";
    s += "!insertmacro MULTIUSER_PAGE_INSTALLMODE\n!define MUI_PAGE_CUSTOMFUNCTION_LEAVE LeaveFolderPage\n!insertmacro MUI_PAGE_DIRECTORY\n!insertmacro MUI_PAGE_COMPONENTS\n";
    s += "!insertmacro MUI_PAGE_INSTFILES\n!insertmacro MUI_PAGE_FINISH\n";
    s += "!insertmacro MUI_UNPAGE_CONFIRM\n!insertmacro MUI_UNPAGE_INSTFILES\n";
    // The uninstall section fills in what it left in place; the page is the player's only view of it.
    s += "Var KeptNote\n!define MUI_FINISHPAGE_TEXT_LARGE\n!define MUI_FINISHPAGE_TEXT \"" +
         NsisEscaped(plan.title + " has been removed from your computer.") + "$KeptNote\"\n";
    s += "!insertmacro MUI_UNPAGE_FINISH\n";
    s += "!insertmacro MUI_LANGUAGE \"English\"\n";
    if (!plan.signUninstaller.empty())
        s += "!uninstfinalize " + AnyQuoted(plan.signUninstaller) + " = 0\n";
    return s;
}

// Runs a guard; on a refusal, `refused` with the exit code in $0.
std::string Guard(const std::string& function, const std::string& refused, const std::string& label)
{
    return "  Call " + function + "\n  Pop $0\n  StrCmp $0 \"\" " + label + "\n" + refused + "  " + label + ":\n";
}

std::string Functions(const InstallerPlan& plan)
{
    std::string s = GuardFunctions(plan);
    // A line for the details and the log ($9) both.
    for (const std::string prefix : {"", "un."})
        s += "Function " + prefix + "Note\n  Exch $0\n  DetailPrint $0\n  FileWrite $9 \"$0$\\r$\\n\"\n  Pop $0\nFunctionEnd\n";
    s += ShortcutFunctions(plan);
    const std::string quit = "  SetErrorLevel $0\n  Quit\n";
    // MultiUser sets the folder of the install mode; a folder given with /D= wins over it.
    // InstallDir fills $INSTDIR when /D= does not: only another folder was given.
    s += "Var GivenFolder\nVar FailCode\nFunction .onInit\n  StrCpy $GivenFolder $INSTDIR\n";
    s += "  StrCmp $INSTDIR " + DefaultInstallDir(plan) + " 0 +2\n  StrCpy $GivenFolder \"\"\n  !insertmacro MULTIUSER_INIT\n";
    s += "  StrCmp $GivenFolder \"\" +2\n  StrCpy $INSTDIR $GivenFolder\n";
    s += Guard("RefuseSecondCopy", quit, "alone");
    s += "  StrCmp $MultiUser.InstallMode AllUsers 0 +2\n  Call RequireRights\n";
    s += Guard("RefuseWhileRunning", quit, "closed") + Guard("RefuseOlder", quit, "newer");
    // The pages offer a folder the game can open; silently the folder is taken or refused as it is.
    s += "  IfSilent folder\n  StrCmp $GivenFolder \"\" 0 done\n  Call FolderProblem\n  Pop $0\n  StrCmp $0 \"\" done\n";
    s += "  Call SuggestedFolder\n  Pop $INSTDIR\n  Goto done\n  folder:\n";
    s += Guard("RefuseUnopenableFolder", quit, "openable") + Guard("RefuseForeignFolder", quit, "owned");
    s += "  done:\nFunctionEnd\n";
    s += "Function LeaveFolderPage\n";
    s += Guard("RefuseUnopenableFolder", "  Call SuggestedFolder\n  Pop $0\n  FindWindow $1 \"#32770\" \"\" $HWNDPARENT\n"
                                         "  GetDlgItem $1 $1 1019\n  SendMessage $1 ${WM_SETTEXT} 0 \"STR:$0\"\n  Abort\n",
                 "openable");
    s += Guard("RefuseForeignFolder", "  Abort\n", "owned") + "FunctionEnd\n";
    // Whatever stopped the setup once it had begun, what it replaced comes back.
    s += "Function .onInstFailed\n  Call RestoreReplaced\n  SetErrorLevel $FailCode\nFunctionEnd\n";
    s += "Function un.onUninstFailed\n  SetErrorLevel $FailCode\nFunctionEnd\n";
    s += "Function un.onInit\n  ReadRegStr $0 HKLM \"${UNINSTALL_KEY}\" InstallLocation\n";
    // MultiUser would take the folder the entry names: an uninstaller removes only its own folder.
    s += "  StrCmp $0 $INSTDIR 0 +2\n  Call un.RequireRights\n  StrCpy $GivenFolder $INSTDIR\n";
    s += "  !insertmacro MULTIUSER_UNINIT\n  StrCpy $INSTDIR $GivenFolder\n";
    s += Guard("un.RefuseWhileRunning", quit, "closed");
    s += "  Call un.OwnsFolder\n  Pop $0\n  StrCmp $0 yes listed\n";
    s += "  MessageBox MB_OK|MB_ICONSTOP \"$INSTDIR holds no list of " + NsisEscaped(plan.title) +
         "'s files: nothing was removed.\" /SD IDOK\n  SetErrorLevel " + std::to_string(SETUP_FOREIGN_FOLDER) +
         "\n  Quit\n  listed:\nFunctionEnd\n";
    // An elevated setup starts the game through Explorer, so that it runs as the player.
    const std::string exe = "\"$\\\"$INSTDIR\\" + NsisEscaped(plan.name + ".exe") + "$\\\"\"";
    s += "Function PlayNow\n  SetOutPath \"$INSTDIR\"\n  StrCmp $MultiUser.InstallMode \"AllUsers\" 0 +3\n";
    s += "  Exec \"$\\\"$WINDIR\\explorer.exe$\\\" $\\\"$INSTDIR\\" + NsisEscaped(plan.name + ".exe") + "$\\\"\"\n";
    s += "  Return\n  Exec " + exe + "\nFunctionEnd\n";
    return s;
}

}  // namespace

const char* NsisTarget(bool x64)
{
    return x64 ? "amd64-unicode" : "x86-unicode";
}

std::string UninstallKeyName(const std::string& publisher, const std::string& applicationId)
{
    std::string key = publisher + " " + applicationId;
    for (char& c : key)
        c = c == '\\' ? '_' : c;
    return key;
}

std::string InstallerScript(const InstallerPlan& plan)
{
    return Header(plan) + Functions(plan) + InstallSection(plan) + UninstallSection(plan);
}
