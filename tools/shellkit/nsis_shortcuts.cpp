#include "nsis_shortcuts.h"

#include "nsis_text.h"
#include "host/game_folder.h"

namespace {

// IShellLinkW, loaded from the file through IPersistFile, whose IPropertyStore takes the ID as a
// VT_LPWSTR value; Commit and Save write it into the file. $2 holds each step's HRESULT: the
// first failure ends the chain, and every interface obtained is released.
const char SHORTCUT_APP_ID[] = R"nsis(Function ShortcutAppId
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  Push $7
  StrCpy $1 0
  StrCpy $3 0
  StrCpy $4 0
  System::Call "ole32::CoInitialize(p 0) i .r7"
  System::Call "ole32::CoCreateInstance(g '{00021401-0000-0000-C000-000000000046}', p 0, i 1, g '{000214F9-0000-0000-C000-000000000046}', *p .r1) i .r2"
  IntCmp $2 0 0 done 0
  System::Call "$1->0(g '{0000010B-0000-0000-C000-000000000046}', *p .r3) i .r2"
  IntCmp $2 0 0 done 0
  System::Call "$3->5(w r0, i 0) i .r2"
  IntCmp $2 0 0 done 0
  System::Call "$1->0(g '{886D8EEB-8CF2-4446-8D02-CDBA1DBDCF99}', *p .r4) i .r2"
  IntCmp $2 0 0 done 0
  System::Call "*(&g16 '{9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3}', i 5) p .r5"
  System::Call "*(&w${APP_ID_LENGTH} '${APP_USER_MODEL_ID}') p .r6"
  System::Call "*(&i2 31, &i2 0, &i2 0, &i2 0, p r6, p 0) p .r1"
  System::Call "$4->6(p r5, p r1) i .r2"
  System::Free $1
  System::Free $6
  System::Free $5
  StrCpy $1 0
  IntCmp $2 0 0 done 0
  System::Call "$4->7() i .r2"
  IntCmp $2 0 0 done 0
  System::Call "$3->6(w r0, i 1) i .r2"
  done:
  StrCmp $4 0 noStore
  System::Call "$4->2()"
  noStore:
  StrCmp $3 0 noFile
  System::Call "$3->2()"
  noFile:
  StrCmp $1 0 noLink
  System::Call "$1->2()"
  noLink:
  IntCmp $7 0 0 noCom 0
  System::Call "ole32::CoUninitialize()"
  noCom:
  IntCmp $2 0 0 failed 0
  Push "Gave $0 the ID ${APP_USER_MODEL_ID}"
  Goto noted
  failed:
  IntFmt $2 "0x%08X" $2
  Push "Could not give $0 the ID ${APP_USER_MODEL_ID}: error $2"
  noted:
  Call Note
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
)nsis";

}  // namespace

std::string GameIconFile(const InstallerPlan& plan)
{
    return plan.name + "." + (plan.gameImageHasIcon ? GAME_IMAGE_SUFFIX : "exe");
}

std::string ShortcutFunctions(const InstallerPlan& plan)
{
    // The ID is ASCII without quotes or dollars; the buffer holds it and its terminator.
    return "!define APP_USER_MODEL_ID " + Nsis("", plan.appUserModelId) + "\n!define APP_ID_LENGTH " +
           std::to_string(plan.appUserModelId.size() + 1) + "\n" + SHORTCUT_APP_ID;
}

std::string MakeShortcut(const InstallerPlan& plan, const std::string& link)
{
    return "  CreateShortCut " + link + " " + Nsis("$INSTDIR\\", plan.name + ".exe") + " \"\" " +
           Nsis("$INSTDIR\\", GameIconFile(plan)) + " 0\n  Push " + link + "\n  Call ShortcutAppId\n";
}
