#include "nsis_script.h"

#include "nsis_sections.h"
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
    s += "!define MULTIUSER_INSTALLMODE_INSTDIR " + Nsis("", plan.name) + "\n";
    s += "!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY \"${UNINSTALL_KEY}\"\n";
    s += "!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME \"InstallMode\"\n";
    s += "!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY \"${UNINSTALL_KEY}\"\n";
    s += "!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME \"InstallLocation\"\n";
    s += "!define MULTIUSER_MUI\n";
    if (!plan.icon.empty())
        s += "!define MUI_ICON " + Nsis("", plan.icon) + "\n!define MUI_UNICON " + Nsis("", plan.icon) + "\n";
    s += "!define MUI_FINISHPAGE_RUN\n!define MUI_FINISHPAGE_RUN_TEXT " + Nsis("", "Play " + plan.title + " now") + "\n";
    s += "!define MUI_FINISHPAGE_RUN_FUNCTION PlayNow\n";
    s += "!include MultiUser.nsh\n!include MUI2.nsh\n";
    s += "Name " + Nsis("", plan.title) + "\n";
    s += "OutFile " + Nsis("", plan.outFile) + "\n";
    s += "SetCompressor /SOLID lzma\n";
    s += "BrandingText " + Nsis("", plan.publisher) + "\n";
    // A file that cannot be written stops the setup; it is never skipped.
    s += "AllowSkipFiles off\n";
    s += "VIProductVersion " + Nsis("", plan.version + ".0") + "\n";
    s += "VIAddVersionKey ProductName " + Nsis("", plan.title) + "\n";
    s += "VIAddVersionKey CompanyName " + Nsis("", plan.publisher) + "\n";
    s += "VIAddVersionKey FileDescription " + Nsis("", plan.title + " Setup") + "\n";
    s += "VIAddVersionKey FileVersion " + Nsis("", plan.version) + "\n";
    s += "VIAddVersionKey ProductVersion " + Nsis("", plan.version) + "\n";
    s += "!insertmacro MULTIUSER_PAGE_INSTALLMODE\n!insertmacro MUI_PAGE_DIRECTORY\n!insertmacro MUI_PAGE_COMPONENTS\n";
    s += "!insertmacro MUI_PAGE_INSTFILES\n!insertmacro MUI_PAGE_FINISH\n";
    s += "!insertmacro MUI_UNPAGE_CONFIRM\n!insertmacro MUI_UNPAGE_INSTFILES\n";
    s += "!insertmacro MUI_LANGUAGE \"English\"\n";
    if (!plan.signUninstaller.empty())
        s += "!uninstfinalize " + AnyQuoted(plan.signUninstaller) + " = 0\n";
    return s;
}

// The game is running when its shell or its game image cannot be opened for writing. With
// pages the player may close it and retry; silently the setup ends with code 2, nothing touched.
std::string RefuseWhileRunning(const InstallerPlan& plan, const std::string& prefix)
{
    std::string s = "Function " + prefix + "RefuseWhileRunning\n  running:\n  ClearErrors\n";
    for (const std::string& extension : {std::string(".exe"), "." + std::string(GAME_IMAGE_SUFFIX)}) {
        const std::string path = Nsis("$INSTDIR\\", plan.name + extension);
        s += "  IfFileExists " + path + " 0 +4\n  FileOpen $0 " + path + " a\n  IfErrors busy\n  FileClose $0\n";
    }
    s += "  Return\n  busy:\n";
    s += "  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION " +
         Nsis("", plan.title + " is running. Close the game, then choose Retry.") + " /SD IDCANCEL IDRETRY running\n";
    s += "  SetErrorLevel 2\n  Quit\nFunctionEnd\n";
    return s;
}

// A player without administrator rights over a copy installed for everyone: one copy only.
std::string RefuseSecondCopy(const InstallerPlan& plan)
{
    std::string s = "Function RefuseSecondCopy\n  StrCmp $MultiUser.InstallMode \"AllUsers\" done\n";
    s += "  ReadRegStr $0 HKCU \"${UNINSTALL_KEY}\" InstallLocation\n  StrCmp $0 \"\" 0 done\n";
    s += "  ReadRegStr $0 HKLM \"${UNINSTALL_KEY}\" InstallLocation\n  StrCmp $0 \"\" done\n";
    s += "  MessageBox MB_OK|MB_ICONSTOP \"" + NsisEscaped(plan.title) +
         " is already installed for anyone using this computer, in $0. To update it, run this setup as an "
         "administrator.\" /SD IDOK\n";
    s += "  SetErrorLevel 2\n  Quit\n  done:\nFunctionEnd\n";
    return s;
}

std::string Functions(const InstallerPlan& plan)
{
    std::string s;
    for (const std::string prefix : {"", "un."}) {
        s += RefuseWhileRunning(plan, prefix);
        // A line for the details and the log ($9) both.
        s += "Function " + prefix + "Note\n  Exch $0\n  DetailPrint $0\n  FileWrite $9 \"$0$\\r$\\n\"\n  Pop $0\nFunctionEnd\n";
    }
    s += RefuseSecondCopy(plan);
    // MultiUser sets the folder of the install mode; a folder given with /D= wins over it.
    s += "Var GivenFolder\nFunction .onInit\n  StrCpy $GivenFolder $INSTDIR\n  !insertmacro MULTIUSER_INIT\n";
    s += "  StrCmp $GivenFolder \"\" +2\n  StrCpy $INSTDIR $GivenFolder\n";
    s += "  Call RefuseSecondCopy\n  Call RefuseWhileRunning\nFunctionEnd\n";
    s += "Function un.onInit\n  !insertmacro MULTIUSER_UNINIT\n  Call un.RefuseWhileRunning\nFunctionEnd\n";
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
