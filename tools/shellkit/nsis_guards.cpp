#include "nsis_guards.h"

#include "code_page.h"
#include "nsis_text.h"
#include "rules.h"
#include "host/game_folder.h"

namespace {

std::string Code(SetupExitCode code)
{
    return std::to_string(static_cast<int>(code));
}

// How a guard refuses: the player is told why (NSIS text, variables and all), and the exit code
// is left for the caller.
std::string Refusal(const std::string& message, SetupExitCode code)
{
    return "  MessageBox MB_OK|MB_ICONSTOP \"" + message + "\" /SD IDOK\n  Push " + Code(code) + "\n";
}

// Whether the game's shell or game image runs in this session, by the process list: files in
// use and no such process here means another account's, whose game this player cannot close.
// A list that cannot be had counts as here.
std::string RunsHere(const InstallerPlan& plan, const std::string& prefix)
{
    // PROCESSENTRY32W, with its size; the pointer-sized heap ID is aligned on x86-64.
    const std::string entry = plan.x64 ? "i 568, i, i, i, p, i, i, i, i, i, &w260, i" : "i 556, i, i, p, i, i, i, i, i, &w260";
    const std::string read = plan.x64 ? "i, i, i .r4, i, p, i, i, i, i, i, &w260 .r5, i" : "i, i, i .r4, p, i, i, i, i, i, &w260 .r5";
    std::string s = "Function " + prefix + "RunsHere\n  StrCpy $6 yes\n";
    s += "  System::Call 'kernel32::GetCurrentProcessId() i .r1'\n";
    s += "  System::Call 'kernel32::ProcessIdToSessionId(i r1, *i .r1)'\n";
    s += "  System::Call 'kernel32::CreateToolhelp32Snapshot(i 2, i 0) p .r2'\n  IntCmp $2 -1 listed\n";
    s += "  System::Call '*(" + entry + ") p .r3'\n  StrCpy $6 no\n";
    s += "  System::Call 'kernel32::Process32FirstW(p r2, p r3) i .r4'\n  next:\n  IntCmp $4 0 done\n";
    s += "  System::Call '*$3(" + read + ")'\n";
    s += "  StrCmp $5 " + Nsis("", plan.name + ".exe") + " found\n  StrCmp $5 " +
         Nsis("", plan.name + "." + GAME_IMAGE_SUFFIX) + " found\n  Goto other\n  found:\n";
    s += "  System::Call 'kernel32::ProcessIdToSessionId(i r4, *i .r4)'\n  IntCmp $4 $1 0 other other\n";
    s += "  StrCpy $6 yes\n  Goto done\n  other:\n  System::Call 'kernel32::Process32NextW(p r2, p r3) i .r4'\n";
    s += "  Goto next\n  done:\n  System::Free $3\n  System::Call 'kernel32::CloseHandle(p r2)'\n  listed:\n";
    s += "  Push $6\nFunctionEnd\n";
    return s;
}

// The game is running when its shell or its game image cannot be opened for writing. With
// pages the player may close it and retry.
std::string RefuseWhileRunning(const InstallerPlan& plan, const std::string& prefix)
{
    std::string s = "Function " + prefix + "RefuseWhileRunning\n  running:\n  ClearErrors\n";
    for (const std::string& extension : {std::string(".exe"), "." + std::string(GAME_IMAGE_SUFFIX)}) {
        const std::string path = Nsis("$INSTDIR\\", plan.name + extension);
        s += "  IfFileExists " + path + " 0 +4\n  FileOpen $0 " + path + " a\n  IfErrors busy\n  FileClose $0\n";
    }
    s += "  Push \"\"\n  Return\n  busy:\n  Call " + prefix + "RunsHere\n  Pop $0\n  StrCmp $0 no elsewhere\n";
    s += "  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION " +
         Nsis("", plan.title + " is running. Close the game, then choose Retry.") + " /SD IDCANCEL IDRETRY running\n";
    s += "  Goto refused\n  elsewhere:\n  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION " +
         Nsis("", plan.title + " is in use, but not by a game of yours: another account on this computer may be "
                               "playing it. Ask them to close it, then choose Retry.") +
         " /SD IDCANCEL IDRETRY running\n";
    s += "  refused:\n  Push " + Code(SETUP_GAME_RUNNING) + "\nFunctionEnd\n";
    return RunsHere(plan, prefix) + s;
}

// Rights over a copy for everyone: an administrator's, and a folder that takes a new file. A
// setup without them starts itself again elevated, with the same arguments; silently it ends.
std::string RequireRights(const InstallerPlan& plan, const std::string& prefix)
{
    const std::string probe = "\"$INSTDIR\\Setup rights check.tmp\"";
    std::string s = "Function " + prefix + "CanWriteFolder\n  IfFileExists \"$INSTDIR\\*.*\" 0 yes\n";
    s += "  ClearErrors\n  FileOpen $0 " + probe + " w\n  IfErrors no\n";
    s += "  FileClose $0\n  Delete " + probe + "\n  yes:\n  Push yes\n  Return\n  no:\n  Push no\nFunctionEnd\n";
    s += "Function " + prefix + "RequireRights\n  UserInfo::GetAccountType\n  Pop $0\n  StrCmp $0 Admin 0 elevate\n";
    s += "  Call " + prefix + "CanWriteFolder\n  Pop $0\n  StrCmp $0 yes 0 elevate\n  Return\n  elevate:\n";
    s += "  IfSilent quiet\n  ${GetParameters} $1\n  ClearErrors\n  ${GetOptions} $1 /Elevated $2\n";
    s += "  IfErrors 0 refused\n  ClearErrors\n  ExecShell runas \"$EXEPATH\" \"/Elevated /AllUsers $1\"\n";
    s += "  IfErrors refused\n  SetErrorLevel 0\n  Quit\n  refused:\n";
    s += "  MessageBox MB_OK|MB_ICONSTOP \"Only an administrator can change the copy of " + NsisEscaped(plan.title) +
         " that is installed for everyone using this computer, in $INSTDIR.\" /SD IDOK\n";
    s += "  quiet:\n  SetErrorLevel " + Code(SETUP_NO_RIGHTS) + "\n  Quit\nFunctionEnd\n";
    return s;
}

// A copy for everyone leaves no room for a player's own: an administrator who asked for one is
// refused, a player is taken to the copy for everyone, which only an administrator may change.
std::string RefuseSecondCopy(const InstallerPlan& plan)
{
    std::string s = "Function RefuseSecondCopy\n  StrCmp $MultiUser.InstallMode \"AllUsers\" done\n";
    s += "  ReadRegStr $0 HKCU \"${UNINSTALL_KEY}\" InstallLocation\n  StrCmp $0 \"\" 0 done\n";
    s += "  ReadRegStr $0 HKLM \"${UNINSTALL_KEY}\" InstallLocation\n  StrCmp $0 \"\" done\n";
    s += "  StrCmp $MultiUser.Privileges Admin refuse\n  StrCpy $INSTDIR $0\n  Call RequireRights\n  refuse:\n";
    s += Refusal(NsisEscaped(plan.title) + " is already installed for anyone using this computer, in $0. To update it, "
                                           "run this setup as an administrator.",
                 SETUP_INSTALLED_FOR_EVERYONE);
    s += "  Return\n  done:\n  Push \"\"\nFunctionEnd\n";
    return s;
}

// A folder that holds anything is this product's only when its file list opens with this
// product's line, or, from a setup whose lists carried none, when the entry names the folder.
std::string OwnsFolder(const InstallerPlan& plan, const std::string& prefix)
{
    std::string s = "Function " + prefix + "OwnsFolder\n  IfFileExists \"$INSTDIR\\*.*\" 0 yes\n";
    s += "  FindFirst $1 $2 \"$INSTDIR\\*.*\"\n  next:\n  StrCmp $2 \"\" empty\n  StrCmp $2 . +3\n";
    s += "  StrCmp $2 .. +2\n  Goto full\n  FindNext $1 $2\n  Goto next\n  empty:\n  FindClose $1\n  Goto yes\n";
    s += "  full:\n  FindClose $1\n  ClearErrors\n  FileOpen $1 \"$INSTDIR\\Uninstall.lst\" r\n  IfErrors unlisted\n";
    s += "  FileReadUTF16LE $1 $2\n  FileClose $1\n  StrCmp $2 \"" + NsisEscaped(ProductListLine(plan)) +
         "$\\r$\\n\" yes\n  Goto no\n  unlisted:\n";
    s += "  ReadRegStr $2 SHCTX \"${UNINSTALL_KEY}\" InstallLocation\n  StrCmp $2 $INSTDIR yes\n";
    s += "  no:\n  Push no\n  Return\n  yes:\n  Push yes\nFunctionEnd\n";
    return s;
}

std::string RefuseForeignFolder(const InstallerPlan& plan)
{
    std::string s = OwnsFolder(plan, "");
    s += "Function RefuseForeignFolder\n  Call OwnsFolder\n  Pop $0\n  StrCmp $0 yes 0 +3\n  Push \"\"\n  Return\n";
    s += Refusal("$INSTDIR already holds files that are not " + NsisEscaped(plan.title) +
                     "'s. Choose an empty folder, or a new one.",
                 SETUP_FOREIGN_FOLDER);
    s += "FunctionEnd\n";
    return s;
}

// Never an older version over a newer one, unless the setup is run with /AllowOlder.
std::string RefuseOlder(const InstallerPlan& plan)
{
    std::string s = "Function RefuseOlder\n  ReadRegStr $1 SHCTX \"${UNINSTALL_KEY}\" DisplayVersion\n";
    s += "  StrCmp $1 \"\" go\n  ${VersionCompare} $1 " + Nsis("", plan.version) + " $2\n  StrCmp $2 1 0 go\n";
    s += "  ${GetParameters} $3\n  ClearErrors\n  ${GetOptions} $3 /AllowOlder $2\n  IfErrors 0 go\n";
    s += Refusal(NsisEscaped(plan.title) + " $1 is installed, newer than the " + NsisEscaped(plan.version) +
                     " this setup brings: it stays as it is.",
                 SETUP_OLDER_VERSION);
    s += "  Return\n  go:\n  Push \"\"\nFunctionEnd\n";
    return s;
}

// The shell opens its files through the ANSI code page: the folder must come back from it
// unchanged, with no best-fit letter and no "?", and every file's path must fit.
std::string RefuseUnopenableFolder(const InstallerPlan& plan)
{
    std::string longest = "Uninstall.exe";
    for (const FolderEntry& file : plan.files)
        if (WindowsPath(file.relativePath).size() > longest.size())
            longest = WindowsPath(file.relativePath);
    std::string s = "Function FolderProblem\n  System::Call 'kernel32::GetACP() i .r1'\n  StrCmp $1 65001 spelled\n";
    s += "  System::Call 'kernel32::WideCharToMultiByte(i 0, i 0x400, w \"$INSTDIR\", i -1, m .r3, "
         "i ${NSIS_MAX_STRLEN}, p 0, *i .r2) i .r4'\n";
    s += "  StrCmp $4 0 +2\n  StrCmp $2 0 spelled\n";
    s += "  Push \"this computer's code page ($1), by which the game opens its files, cannot spell every letter of "
         "the folder's name\"\n  Return\n  spelled:\n";
    s += "  StrLen $2 \"$INSTDIR\"\n  IntOp $2 $2 + " + std::to_string(longest.size() + 1) + "\n";
    s += "  IntCmp $2 " + std::to_string(PATH_LIMIT) + " 0 0 +3\n  Push \"\"\n  Return\n";
    s += "  Push \"in it, the path of " + NsisEscaped(longest) + " would be $2 characters long, over the " +
         std::to_string(PATH_LIMIT) + " the game can open\"\nFunctionEnd\n";
    s += "Function SuggestedFolder\n  StrCpy $0 $WINDIR 3\n  Push \"$0Games\\" + NsisEscaped(DefaultFolderPart(plan)) +
         "\"\nFunctionEnd\n";
    s += "Function RefuseUnopenableFolder\n  Call FolderProblem\n  Pop $5\n  StrCmp $5 \"\" 0 +3\n  Push \"\"\n  Return\n";
    s += "  Call SuggestedFolder\n  Pop $6\n";
    s += Refusal(NsisEscaped(plan.title) + " cannot be installed in $INSTDIR: $5. Choose another folder, such as $6.",
                 SETUP_FOLDER_UNOPENABLE);
    s += "FunctionEnd\n";
    return s;
}

}  // namespace

std::string ProductListLine(const InstallerPlan& plan)
{
    // "<" cannot begin a file's path, so the line is never taken for one.
    return "<" + UninstallKeyName(plan.publisher, plan.applicationId) + ">";
}

std::string DefaultFolderPart(const InstallerPlan& plan)
{
    const std::string publisher = PublisherFolderName(plan.publisher, plan.name);
    return publisher.empty() ? plan.name : publisher + "\\" + plan.name;
}

std::string GuardFunctions(const InstallerPlan& plan)
{
    std::string s;
    for (const std::string prefix : {"", "un."}) {
        s += RefuseWhileRunning(plan, prefix);
        s += RequireRights(plan, prefix);
    }
    s += OwnsFolder(plan, "un.");
    return s + RefuseSecondCopy(plan) + RefuseForeignFolder(plan) + RefuseOlder(plan) + RefuseUnopenableFolder(plan);
}
