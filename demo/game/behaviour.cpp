#include "behaviour.h"

#include <string>

#include "options.h"

namespace {

void applyIgnoreList(const std::string& list, DemoBehaviour& b)
{
    for (const std::string& name : ListItems(list)) {
        const bool all = name == "all";
        if (all || name == "close")
            b.ignoreClose = true;
        if (all || name == "syscommand")
            b.ignoreSysCommand = true;
        if (all || name == "quit")
            b.ignoreQuit = true;
        if (all || name == "destroy")
            b.ignoreDestroy = true;
    }
}

void applyOption(const std::string& key, const std::string& value, DemoBehaviour& b)
{
    unsigned number = 0;
    const bool isNumber = ParseNumber(value, &number);
    if (key == "windows" && isNumber)
        b.windows = number > 16 ? 16 : number;
    else if (key == "laterwindows" && isNumber)
        b.laterWindowsMs = number;
    else if (key == "threadwindow" && isNumber)
        b.threadWindow = number != 0;
    else if (key == "activate" && isNumber)
        b.activate = number != 0;
    else if (key == "exitafter" && isNumber) {
        b.exitAfter = true;
        b.exitAfterMs = number;
    } else if (key == "exitcode" && isNumber)
        b.exitCode = number;
    else if (key == "ignore")
        applyIgnoreList(value, b);
    else if (key == "hang" && isNumber)
        b.hang = number != 0;
}

}  // namespace

DemoBehaviour parseDemoBehaviour(const char* text)
{
    DemoBehaviour b;
    if (!text)
        return b;
    ForEachOption(text, ';', [&](const std::string& key, const std::string& value) { applyOption(key, value, b); });
    return b;
}
