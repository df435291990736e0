#include "nsis_sections.h"

#include <set>

#include "file_system.h"
#include "nsis_shortcuts.h"
#include "nsis_text.h"
#include "host/game_folder.h"

namespace {

const char ARCADE_FOLDER[] = "MorvessaArcade\\";
// The files this version installed, one a line, read by the next version's setup.
const char FILE_LIST[] = "Uninstall.lst";
const char USERS_MODIFY[] = "*S-1-5-32-545:(OI)(CI)M";
// The most files the uninstaller's last page names one by one.
const int KEPT_SHOWN = 8;

// Where the setup and the uninstaller write down what they did, as NSIS text.
std::string LogPath(const InstallerPlan& plan, const char* kind)
{
    return "$TEMP\\" + NsisEscaped(plan.name) + " " + kind + ".log";
}

bool InArcadeFolder(const std::string& windowsPath)
{
    return windowsPath.compare(0, sizeof(ARCADE_FOLDER) - 1, ARCADE_FOLDER) == 0;
}

bool IsArcadeDll(const std::string& windowsPath)
{
    return InArcadeFolder(windowsPath) && HasExtension(windowsPath, ".dll");
}

// Keeps an installed arcade DLL that the setup's copy cannot be shown to be at least as new as:
// the arcade layer updates itself. Takes the path, the setup's packed version (two words, empty
// when it has none) and its text; gives "keep" or "".
const char KEEP_NEWER_DLL[] = R"(Function KeepNewerDll
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
  StrCpy $R4 ""
  IfFileExists "$INSTDIR\$R0" 0 done
  ClearErrors
  GetDLLVersion "$INSTDIR\$R0" $R5 $R6
  IfErrors unordered
  StrCmp $R1 "" unordered
  IntCmpU $R5 $R1 0 done keep
  IntCmpU $R6 $R2 done done keep
  keep:
  IntOp $R7 $R5 >>> 16
  IntOp $R8 $R5 & 0xFFFF
  IntOp $R9 $R6 >>> 16
  IntOp $R6 $R6 & 0xFFFF
  Push "Kept $INSTDIR\$R0: its version $R7.$R8.$R9.$R6 is newer than the setup's $R3"
  Goto kept
  unordered:
  Push "Kept $INSTDIR\$R0: no version to compare with the setup's copy"
  kept:
  Call Note
  StrCpy $R4 keep
  done:
  Push $R4
FunctionEnd
)";

// Deletes what the last version listed and this one does not ship; the arcade folder is left
// to the arcade layer, which may have updated it.
std::string RemoveOrphans(const InstallerPlan& plan)
{
    std::string s = "Function IsShipped\n  Exch $0\n  Push $1\n  StrCpy $1 $0 " +
                    std::to_string(sizeof(ARCADE_FOLDER) - 1) + "\n  StrCmp $1 " + Nsis("", ARCADE_FOLDER) + " yes\n";
    for (const FolderEntry& file : plan.files)
        s += "  StrCmp $0 " + Nsis("", WindowsPath(file.relativePath)) + " yes\n";
    s += "  StrCpy $0 \"\"\n  Goto done\n  yes:\n  StrCpy $0 yes\n  done:\n  Pop $1\n  Exch $0\nFunctionEnd\n";
    s += "Function RemoveOrphans\n  ClearErrors\n  FileOpen $4 " + Nsis("$INSTDIR\\", FILE_LIST) + " r\n";
    s += "  IfErrors none\n  next:\n  ClearErrors\n  FileReadUTF16LE $4 $5\n  IfErrors end\n";
    s += "  StrCpy $6 $5 2 -2\n  StrCmp $6 \"$\\r$\\n\" 0 +2\n  StrCpy $5 $5 -2\n  StrCmp $5 \"\" next\n";
    s += "  Push $5\n  Call IsShipped\n  Pop $6\n  StrCmp $6 yes next\n";
    s += "  IfFileExists \"$INSTDIR\\$5\" 0 next\n  Delete \"$INSTDIR\\$5\"\n";
    s += "  Push \"Removed $INSTDIR\\$5: this version does not ship it\"\n  Call Note\n  Goto next\n";
    s += "  end:\n  FileClose $4\n  none:\nFunctionEnd\n";
    return s;
}

std::string Files(const InstallerPlan& plan)
{
    std::string s;
    std::string current = "-";
    int dlls = 0;
    for (const FolderEntry& file : plan.files) {
        const std::string relative = WindowsPath(file.relativePath);
        const std::string folder = FolderOf(relative);
        if (folder != current) {
            s += "  SetOutPath " + (folder.empty() ? std::string("\"$INSTDIR\"") : Nsis("$INSTDIR\\", folder)) + "\n";
            current = folder;
        }
        const auto replaced = plan.replacements.find(file.relativePath);
        const std::string source =
            replaced != plan.replacements.end() ? replaced->second : JoinPath(plan.sourceFolder, file.relativePath);
        const std::string put = "  File " + Nsis("", "/oname=" + NameOf(relative)) + " " + Nsis("", source) + "\n";
        if (!IsArcadeDll(relative)) {
            s += put;
            continue;
        }
        const std::string define = "SetupDll" + std::to_string(dlls++) + "_";
        s += "  !getdllversion /noerrors /packed " + Nsis("", source) + " " + define + "\n";
        s += "  !getdllversion /noerrors " + Nsis("", source) + " " + define + "\n";
        s += "  Push " + Nsis("", relative) + "\n  Push \"${" + define + "HIGH}\"\n  Push \"${" + define + "LOW}\"\n";
        s += "  Push \"${" + define + "1}.${" + define + "2}.${" + define + "3}.${" + define + "4}\"\n";
        s += "  Call KeepNewerDll\n  Pop $0\n  StrCmp $0 keep " + define + "kept\n" + put + "  " + define + "kept:\n";
    }
    return s;
}

}  // namespace

std::string InstallSection(const InstallerPlan& plan)
{
    uint64_t bytes = 0;
    for (const FolderEntry& file : plan.files)
        bytes += file.size;
    std::string s = KEEP_NEWER_DLL + RemoveOrphans(plan);
    s += "Section " + Nsis("", plan.title) + " SectionGame\n  SectionIn RO\n";
    // Again: the player may have chosen another mode or folder on the pages.
    s += "  Call RefuseSecondCopy\n  Call RefuseWhileRunning\n  SetOutPath \"$INSTDIR\"\n";
    s += "  FileOpen $9 \"" + LogPath(plan, "install") + "\" w\n";
    s += "  Call RemoveOrphans\n";
    s += Files(plan);
    s += "  SetOutPath \"$INSTDIR\"\n  ClearErrors\n";
    s += "  WriteUninstaller \"$INSTDIR\\Uninstall.exe\"\n";
    s += "  FileOpen $8 " + Nsis("$INSTDIR\\", FILE_LIST) + " w\n";
    for (const FolderEntry& file : plan.files)
        s += "  FileWriteUTF16LE $8 \"" + NsisEscaped(WindowsPath(file.relativePath)) + "$\\r$\\n\"\n";
    s += "  FileClose $8\n";
    s += MakeShortcut(plan, "$SMPROGRAMS");
    const auto regString = [&](const char* value, const std::string& data) {
        s += std::string("  WriteRegStr SHCTX \"${UNINSTALL_KEY}\" ") + value + " " + data + "\n";
    };
    regString("DisplayName", Nsis("", plan.title));
    regString("Publisher", Nsis("", plan.publisher));
    regString("DisplayVersion", Nsis("", plan.version));
    regString("DisplayIcon", Nsis("$INSTDIR\\", GameIconFile(plan) + ",0"));
    regString("InstallLocation", "\"$INSTDIR\"");
    regString("InstallMode", "\"$MultiUser.InstallMode\"");
    regString("UninstallString", "\"$\\\"$INSTDIR\\Uninstall.exe$\\\" /$MultiUser.InstallMode\"");
    regString("QuietUninstallString", "\"$\\\"$INSTDIR\\Uninstall.exe$\\\" /$MultiUser.InstallMode /S\"");
    s += "  WriteRegDWORD SHCTX \"${UNINSTALL_KEY}\" EstimatedSize " + std::to_string((bytes + 1023) / 1024) + "\n";
    s += "  WriteRegDWORD SHCTX \"${UNINSTALL_KEY}\" NoModify 1\n  WriteRegDWORD SHCTX \"${UNINSTALL_KEY}\" NoRepair 1\n";
    // Installed for everyone, the arcade layer still writes beside its DLL as the player: its
    // folder alone is made writable by the computer's users.
    s += "  StrCmp $MultiUser.InstallMode \"AllUsers\" 0 shared\n";
    s += "  nsExec::ExecToLog '\"$SYSDIR\\icacls.exe\" \"$INSTDIR\\" + std::string(ARCADE_FOLDER, sizeof(ARCADE_FOLDER) - 2) +
         "\" /grant " + USERS_MODIFY + " /T /Q'\n  Pop $0\n  StrCmp $0 0 shared\n  SetErrors\n  shared:\n";
    s += "  IfErrors 0 written\n  Push \"Setup could not write everything in $INSTDIR\"\n  Call Note\n  FileClose $9\n";
    s += "  MessageBox MB_OK|MB_ICONSTOP \"" + NsisEscaped(plan.title) +
         " could not be installed whole in $INSTDIR. Close what uses its files and run the setup again.\" /SD IDOK\n";
    s += "  SetErrorLevel 2\n  Abort\n  written:\n  Push \"Installed in $INSTDIR\"\n  Call Note\n  FileClose $9\n";
    s += "SectionEnd\n";
    s += "Section \"Desktop shortcut\" SectionDesktop\n";
    s += "  FileOpen $9 \"" + LogPath(plan, "install") + "\" a\n  FileSeek $9 0 END\n";
    s += MakeShortcut(plan, "$DESKTOP") + "  FileClose $9\nSectionEnd\n";
    return s;
}

std::string UninstallSection(const InstallerPlan& plan)
{
    std::set<std::string> folders;
    for (const FolderEntry& file : plan.files)
        for (std::string folder = FolderOf(file.relativePath); !folder.empty(); folder = FolderOf(folder))
            if (!InArcadeFolder(folder + "\\"))
                folders.insert(folder);
    // What the game wrote into its folders stays; the uninstaller names it in its log and on its
    // last page, there at most KEPT_SHOWN of them.
    std::string s = "Var KeptCount\nFunction un.NameWhatIsLeft\n  Exch $0\n  Push $1\n  Push $2\n";
    s += "  FindFirst $1 $2 \"$0\\*.*\"\n  loop:\n  StrCmp $2 \"\" done\n";
    s += "  StrCmp $2 \".\" next\n  StrCmp $2 \"..\" next\n";
    for (const std::string& folder : folders)
        s += "  StrCmp \"$0\\$2\" " + Nsis("$INSTDIR\\", folder) + " next\n";
    s += "  Push \"Left in place: $0\\$2\"\n  Call un.Note\n";
    s += "  IntOp $KeptCount $KeptCount + 1\n  StrCmp $KeptCount 1 0 +2\n";
    s += "  StrCpy $KeptNote \"$\\r$\\n$\\r$\\nKept, as the game wrote them:\"\n";
    s += "  IntCmp $KeptCount " + std::to_string(KEPT_SHOWN) + " 0 0 more\n";
    s += "  StrCpy $KeptNote \"$KeptNote$\\r$\\n$0\\$2\"\n  Goto next\n  more:\n";
    s += "  IntCmp $KeptCount " + std::to_string(KEPT_SHOWN + 1) + " 0 next next\n";
    s += "  StrCpy $KeptNote \"$KeptNote$\\r$\\nand more: see " + LogPath(plan, "uninstall") + "\"\n";
    s += "  next:\n  FindNext $1 $2\n  Goto loop\n  done:\n  FindClose $1\n  Pop $2\n  Pop $1\n  Pop $0\nFunctionEnd\n";

    s += "Section \"Uninstall\"\n";
    s += "  FileOpen $9 \"" + LogPath(plan, "uninstall") + "\" w\n  ClearErrors\n";
    for (const FolderEntry& file : plan.files)
        if (!InArcadeFolder(WindowsPath(file.relativePath)))
            s += "  Delete " + Nsis("$INSTDIR\\", WindowsPath(file.relativePath)) + "\n";
    // The arcade folder is the arcade layer's: its DLL, its updates, its backups and its data.
    s += "  RMDir /r " + Nsis("$INSTDIR\\", std::string(ARCADE_FOLDER, sizeof(ARCADE_FOLDER) - 2)) + "\n";
    s += "  IfErrors 0 removed\n  Push \"Some files in $INSTDIR could not be removed: it stays installed\"\n";
    s += "  Call un.Note\n  FileClose $9\n";
    s += "  MessageBox MB_OK|MB_ICONSTOP \"" + NsisEscaped(plan.title) +
         " could not be removed whole from $INSTDIR. Close what uses its files and uninstall it again.\" /SD IDOK\n";
    s += "  SetErrorLevel 2\n  Abort\n  removed:\n";
    s += "  Delete \"$INSTDIR\\Uninstall.exe\"\n  Delete " + Nsis("$INSTDIR\\", FILE_LIST) + "\n";
    s += "  Delete " + Nsis("$SMPROGRAMS\\", plan.shortcut + ".lnk") + "\n";
    s += "  Delete " + Nsis("$DESKTOP\\", plan.shortcut + ".lnk") + "\n";
    s += "  DeleteRegKey SHCTX \"${UNINSTALL_KEY}\"\n";
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        const std::string path = Nsis("$INSTDIR\\", *folder);
        s += "  Push " + path + "\n  Call un.NameWhatIsLeft\n  RMDir " + path + "\n";
    }
    s += "  Push \"$INSTDIR\"\n  Call un.NameWhatIsLeft\n  RMDir \"$INSTDIR\"\n";
    s += "  Push \"Uninstalled: $INSTDIR\"\n  Call un.Note\n  FileClose $9\n";
    s += "SectionEnd\n";
    return s;
}
