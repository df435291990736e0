#include "nsis_sections.h"

#include <set>

#include "file_system.h"
#include "nsis_guards.h"
#include "nsis_shortcuts.h"
#include "nsis_text.h"
#include "host/game_folder.h"

namespace {

const char ARCADE_FOLDER[] = "MorvessaArcade\\";
// The files this version installed, one a line, read by the next version's setup.
const char FILE_LIST[] = "Uninstall.lst";
const char REPLACED[] = ".replaced";
const char USERS[] = "*S-1-5-32-545";
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

// Deletes what the last version listed and this one does not ship, once everything new is in
// place; the arcade folder is left to the arcade layer, which may have updated it. Only a list
// that opens with this product's line is acted on.
std::string RemoveOrphans(const InstallerPlan& plan)
{
    std::string s = "Function IsShipped\n  Exch $0\n  Push $1\n  StrCpy $1 $0 " +
                    std::to_string(sizeof(ARCADE_FOLDER) - 1) + "\n  StrCmp $1 " + Nsis("", ARCADE_FOLDER) + " yes\n";
    for (const FolderEntry& file : plan.files)
        s += "  StrCmp $0 " + Nsis("", WindowsPath(file.relativePath)) + " yes\n";
    s += "  StrCpy $0 \"\"\n  Goto done\n  yes:\n  StrCpy $0 yes\n  done:\n  Pop $1\n  Exch $0\nFunctionEnd\n";
    s += "Function RemoveOrphans\n  ClearErrors\n  FileOpen $4 " + Nsis("$INSTDIR\\", std::string(FILE_LIST) + REPLACED) + " r\n";
    s += "  IfErrors none\n  FileReadUTF16LE $4 $5\n  StrCmp $5 \"" + NsisEscaped(ProductListLine(plan)) +
         "$\\r$\\n\" 0 end\n  next:\n  ClearErrors\n  FileReadUTF16LE $4 $5\n  IfErrors end\n";
    s += "  StrCpy $6 $5 2 -2\n  StrCmp $6 \"$\\r$\\n\" 0 +2\n  StrCpy $5 $5 -2\n  StrCmp $5 \"\" next\n";
    s += "  Push $5\n  Call IsShipped\n  Pop $6\n  StrCmp $6 yes next\n";
    // A folder the removed file leaves empty goes with it.
    s += "  IfFileExists \"$INSTDIR\\$5\" 0 next\n  Delete \"$INSTDIR\\$5\"\n  ${GetParent} \"$INSTDIR\\$5\" $6\n  RMDir $6\n";
    s += "  Push \"Removed $INSTDIR\\$5: this version does not ship it\"\n  Call Note\n  Goto next\n";
    s += "  end:\n  FileClose $4\n  none:\nFunctionEnd\n";
    return s;
}

// What this version writes over is set aside beside it until the whole version is in place, and
// put back when the setup fails.
std::string Replacing(const InstallerPlan& plan)
{
    std::string s = "Function SetAside\n  Exch $0\n  Delete \"$INSTDIR\\$0" + std::string(REPLACED) + "\"\n";
    s += "  IfFileExists \"$INSTDIR\\$0\" 0 +2\n  Rename \"$INSTDIR\\$0\" \"$INSTDIR\\$0" + std::string(REPLACED) + "\"\n";
    s += "  IfErrors 0 +3\n  Push \"Could not replace $INSTDIR\\$0\"\n  Call Note\n  Pop $0\nFunctionEnd\n";
    std::vector<std::string> paths = {"Uninstall.exe", FILE_LIST};
    for (const FolderEntry& file : plan.files)
        paths.push_back(WindowsPath(file.relativePath));
    std::string restore = "Function RestoreReplaced\n";
    std::string drop = "Function DropReplaced\n";
    for (const std::string& path : paths) {
        const std::string replaced = Nsis("$INSTDIR\\", path + REPLACED);
        restore += "  IfFileExists " + replaced + " 0 +3\n  Delete " + Nsis("$INSTDIR\\", path) + "\n  Rename " + replaced +
                   " " + Nsis("$INSTDIR\\", path) + "\n";
        drop += "  Delete " + replaced + "\n";
    }
    return s + restore + "FunctionEnd\n" + drop + "FunctionEnd\n";
}

// A shortcut in a folder that another product's shortcut of the same name already holds is
// made under the publisher's name too, or not at all; the entry records where it went.
std::string PlaceShortcut(const InstallerPlan& plan)
{
    const std::string own = "$R0\\" + NsisEscaped(plan.shortcut) + ".lnk";
    const std::string named = "$R0\\" + NsisEscaped(plan.shortcut + " (" + plan.publisher + ")") + ".lnk";
    std::string s = "Var PreviousFolder\nFunction PlaceShortcut\n  Pop $R1\n  Pop $R0\n  ReadRegStr $R2 SHCTX \"${UNINSTALL_KEY}\" $R1\n  ClearErrors\n";
    s += "  StrCpy $R3 \"" + own + "\"\n  StrCmp $R2 $R3 place\n  IfFileExists $R3 0 place\n";
    // A version that recorded no shortcuts made them under the title.
    s += "  StrCmp $R2 \"\" 0 other\n  StrCmp $PreviousFolder $INSTDIR place\n";
    s += "  other:\n  StrCpy $R3 \"" + named + "\"\n  StrCmp $R2 $R3 place\n  IfFileExists $R3 0 place\n";
    s += "  Push \"No shortcut in $R0: another game's shortcuts hold its names\"\n  Call Note\n  Return\n  place:\n";
    s += MakeShortcut(plan, "$R3");
    s += "  WriteRegStr SHCTX \"${UNINSTALL_KEY}\" $R1 $R3\nFunctionEnd\n";
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
        std::string put = "  Push " + Nsis("", relative) + "\n  Call SetAside\n  IfErrors failed\n  File " +
                          Nsis("", "/oname=" + NameOf(relative)) + " " + Nsis("", source) + "\n";
        // A staged update older than the DLL just written must not bring the old one back.
        if (relative == std::string(ARCADE_FOLDER) + "MorvessaArcade.dll")
            put += "  Delete " + Nsis("$INSTDIR\\", std::string(ARCADE_FOLDER) + "Update\\*.*") + "\n";
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

// Installed for everyone, the arcade layer still writes its own files as the player. The players
// may add files and folders to its folder, and change what is in its folders, but none of the
// code that every account loads, nor "Update\" and "Backup\", whose files become that code.
std::string ArcadeGrants()
{
    const std::string arcade = "$INSTDIR\\" + std::string(ARCADE_FOLDER, sizeof(ARCADE_FOLDER) - 2);
    const auto icacls = [](const std::string& path, const std::string& change) {
        return "  nsExec::ExecToLog '\"$SYSDIR\\icacls.exe\" \"" + path + "\" " + change +
               " /Q'\n  Pop $0\n  StrCmp $0 0 +2\n  SetErrors\n";
    };
    std::string s = "  StrCmp $MultiUser.InstallMode AllUsers 0 granted\n";
    s += icacls(arcade, "/grant " + std::string(USERS) + ":(AD,WD) " + USERS + ":(CI)(IO)M");
    for (const char* folder : {"Update", "Backup"}) {
        s += "  CreateDirectory \"" + arcade + "\\" + folder + "\"\n";
        s += icacls(arcade + "\\" + folder, std::string("/inheritance:r /grant:r *S-1-5-18:(OI)(CI)F "
                                                          "*S-1-5-32-544:(OI)(CI)F ") + USERS + ":(OI)(CI)RX");
    }
    return s + "  granted:\n";
}

}  // namespace

std::string InstallSection(const InstallerPlan& plan)
{
    uint64_t bytes = 0;
    for (const FolderEntry& file : plan.files)
        bytes += file.size;
    std::string s = KEEP_NEWER_DLL + RemoveOrphans(plan) + Replacing(plan) + PlaceShortcut(plan);
    s += "Section " + Nsis("", plan.title) + " SectionGame\n  SectionIn RO\n";
    // Again: the player may have chosen another mode or folder on the pages.
    const std::string stop = "  StrCpy $FailCode $0\n  Abort\n";
    s += "  StrCpy $FailCode " + std::to_string(SETUP_WRITE_FAILED) + "\n";
    for (const char* guard : {"RefuseSecondCopy", "RefuseWhileRunning", "RefuseOlder", "RefuseUnopenableFolder",
                              "RefuseForeignFolder"})
        s += "  Call " + std::string(guard) + "\n  Pop $0\n  StrCmp $0 \"\" 0 refused\n";
    s += "  ReadRegStr $PreviousFolder SHCTX \"${UNINSTALL_KEY}\" InstallLocation\n";
    s += "  SetOutPath \"$INSTDIR\"\n  FileOpen $9 \"" + LogPath(plan, "install") + "\" w\n  ClearErrors\n";
    s += "  Push Uninstall.exe\n  Call SetAside\n  Push " + Nsis("", FILE_LIST) + "\n  Call SetAside\n  IfErrors failed\n";
    s += Files(plan);
    s += "  SetOutPath \"$INSTDIR\"\n";
    s += "  WriteUninstaller \"$INSTDIR\\Uninstall.exe\"\n";
    s += "  FileOpen $8 " + Nsis("$INSTDIR\\", FILE_LIST) + " w\n";
    s += "  FileWriteUTF16LE $8 \"" + NsisEscaped(ProductListLine(plan)) + "$\\r$\\n\"\n";
    for (const FolderEntry& file : plan.files)
        s += "  FileWriteUTF16LE $8 \"" + NsisEscaped(WindowsPath(file.relativePath)) + "$\\r$\\n\"\n";
    s += "  FileClose $8\n";
    const auto regString = [&](const char* value, const std::string& data) {
        s += std::string("  WriteRegStr SHCTX \"${UNINSTALL_KEY}\" ") + value + " " + data + "\n";
    };
    // Where the last version put its shortcuts is read before the entry is written over.
    s += "  IfErrors failed\n  Push $SMPROGRAMS\n  Push StartMenuShortcut\n  Call PlaceShortcut\n";
    regString("DisplayName", Nsis("", plan.title));
    regString("Publisher", Nsis("", plan.publisher));
    regString("DisplayVersion", Nsis("", plan.version));
    regString("DisplayIcon", Nsis("$INSTDIR\\", GameIconFile(plan) + ",0"));
    regString("InstallLocation", "\"$INSTDIR\"");
    regString("InstallMode", "\"$MultiUser.InstallMode\"");
    regString("UninstallString", "\"$\\\"$INSTDIR\\Uninstall.exe$\\\" /$MultiUser.InstallMode\"");
    // Started plainly, an uninstaller hands over to a copy of itself and ends at once with 0; run
    // in place it ends with its own exit code, which deployment tools wait for.
    regString("QuietUninstallString", "\"$\\\"$INSTDIR\\Uninstall.exe$\\\" /$MultiUser.InstallMode /S _?=$INSTDIR\"");
    s += "  WriteRegDWORD SHCTX \"${UNINSTALL_KEY}\" EstimatedSize " + std::to_string((bytes + 1023) / 1024) + "\n";
    s += "  WriteRegDWORD SHCTX \"${UNINSTALL_KEY}\" NoModify 1\n  WriteRegDWORD SHCTX \"${UNINSTALL_KEY}\" NoRepair 1\n";
    s += ArcadeGrants();
    s += "  IfErrors failed\n  Call RemoveOrphans\n  Call DropReplaced\n  Push \"Installed in $INSTDIR\"\n  Call Note\n";
    s += "  FileClose $9\n  Return\n  failed:\n  Push \"Setup could not write everything in $INSTDIR\"\n  Call Note\n";
    s += "  FileClose $9\n  MessageBox MB_OK|MB_ICONSTOP \"" + NsisEscaped(plan.title) +
         " could not be installed whole in $INSTDIR: what it replaced is back. Close what uses its files and run the "
         "setup again.\" /SD IDOK\n  Abort\n  refused:\n" + stop;
    s += "SectionEnd\n";
    s += "Section \"Desktop shortcut\" SectionDesktop\n";
    s += "  FileOpen $9 \"" + LogPath(plan, "install") + "\" a\n  FileSeek $9 0 END\n";
    s += "  Push $DESKTOP\n  Push DesktopShortcut\n  Call PlaceShortcut\n  FileClose $9\nSectionEnd\n";
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
    s += "  StrCmp $2 \".\" next\n  StrCmp $2 \"..\" next\n  StrCmp \"$0\\$2\" \"$INSTDIR\\Uninstall.exe\" next\n";
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

    // The arcade folder may hold what players made: links in it are removed, never followed.
    s += "Function un.RemoveTree\n  Exch $0\n  Push $1\n  Push $2\n  Push $3\n  FindFirst $1 $2 \"$0\\*.*\"\n  loop:\n";
    s += "  StrCmp $2 \"\" done\n  StrCmp $2 . next\n  StrCmp $2 .. next\n";
    s += "  System::Call 'kernel32::GetFileAttributesW(w \"$0\\$2\") i .r3'\n  IntOp $3 $3 & 0x410\n";
    s += "  IntCmp $3 0x10 folder\n  IntCmp $3 0 file\n  RMDir \"$0\\$2\"\n  file:\n  Delete \"$0\\$2\"\n  Goto next\n";
    s += "  folder:\n  Push \"$0\\$2\"\n  Call un.RemoveTree\n  next:\n  FindNext $1 $2\n  Goto loop\n";
    // Whether the folder went is what counts, not how the search ended.
    s += "  done:\n  FindClose $1\n  ClearErrors\n  RMDir $0\n  Pop $3\n  Pop $2\n  Pop $1\n  Pop $0\nFunctionEnd\n";

    s += "Section \"Uninstall\"\n";
    // Again: the game may have been started while the confirm page was up.
    s += "  Call un.RefuseWhileRunning\n  Pop $FailCode\n  StrCmp $FailCode \"\" 0 stop\n";
    s += "  StrCpy $FailCode " + std::to_string(SETUP_WRITE_FAILED) + "\n";
    s += "  FileOpen $9 \"" + LogPath(plan, "uninstall") + "\" w\n  ClearErrors\n";
    // The arcade folder is the arcade layer's: its DLL, its updates, its backups and its data.
    s += "  Push " + Nsis("$INSTDIR\\", std::string(ARCADE_FOLDER, sizeof(ARCADE_FOLDER) - 2)) + "\n  Call un.RemoveTree\n";
    for (const FolderEntry& file : plan.files)
        if (!InArcadeFolder(WindowsPath(file.relativePath)))
            s += "  Delete " + Nsis("$INSTDIR\\", WindowsPath(file.relativePath)) + "\n";
    s += "  IfErrors 0 removed\n  Push \"Some files in $INSTDIR could not be removed: it stays installed\"\n";
    s += "  Call un.Note\n  FileClose $9\n";
    s += "  MessageBox MB_OK|MB_ICONSTOP \"" + NsisEscaped(plan.title) +
         " could not be removed whole from $INSTDIR. Close what uses its files and uninstall it again.\" /SD IDOK\n";
    s += "  stop:\n  Abort\n  removed:\n";
    // Run in place, the uninstaller moves itself out of the folder, or where Windows does not let
    // it, stays there; either way it goes when Windows next starts.
    s += "  SetOutPath $TEMP\n  Delete \"$INSTDIR\\Uninstall.exe\"\n  IfFileExists \"$INSTDIR\\Uninstall.exe\" 0 gone\n";
    s += "  GetTempFileName $1\n  Delete $1\n  ClearErrors\n  Rename \"$INSTDIR\\Uninstall.exe\" $1\n  IfErrors 0 +2\n";
    s += "  StrCpy $1 \"$INSTDIR\\Uninstall.exe\"\n  Delete /REBOOTOK $1\n  ClearErrors\n  gone:\n";
    s += "  Delete " + Nsis("$INSTDIR\\", FILE_LIST) + "\n";
    // Only the shortcuts this game made, wherever another game's made them go, and only when
    // the entry is this folder's: a copy elsewhere keeps them.
    s += "  ReadRegStr $0 SHCTX \"${UNINSTALL_KEY}\" InstallLocation\n  StrCmp $0 $INSTDIR 0 unregistered\n";
    for (const char* value : {"StartMenuShortcut", "DesktopShortcut"})
        s += std::string("  ReadRegStr $0 SHCTX \"${UNINSTALL_KEY}\" ") + value + "\n  StrCmp $0 \"\" +2\n  Delete $0\n";
    s += "  DeleteRegKey SHCTX \"${UNINSTALL_KEY}\"\n  unregistered:\n";
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        const std::string path = Nsis("$INSTDIR\\", *folder);
        s += "  Push " + path + "\n  Call un.NameWhatIsLeft\n  RMDir " + path + "\n";
    }
    s += "  Push \"$INSTDIR\"\n  Call un.NameWhatIsLeft\n  RMDir /REBOOTOK \"$INSTDIR\"\n  SetRebootFlag false\n";
    s += "  Push \"Uninstalled: $INSTDIR\"\n  Call un.Note\n  FileClose $9\n";
    s += "SectionEnd\n";
    return s;
}
