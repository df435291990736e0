/*
 * Journal lines, one per export call, each ended by LF. The first word is the export's name;
 * arguments follow, separated by single spaces; " -> " and the result end the line when the
 * export returns something. Numbers are decimal unless written 0x (upper-case hex digits);
 * texts are in double quotes, copied as they are (a null pointer reads (null)); bools are 0 or 1.
 *
 *   madll_GetDLLVersionAsString -> "1.0"
 *   madll_GetDLLVersionAsInt -> 1
 *   madll_Initialize <applicationId> "<name>" <channelId> <options> <interfaceLevel> -> <result>
 *   madll_ShutDown
 *   madll_EnterMenuSession <mode> <width> <height> -> <result>
 *   madll_IsTheMenuSessionComplete -> <0|1>
 *   madll_DrawNextFrameIntoBuffer stride=<n> bpp=<n> repaint=<n> rolledBack=<0|1> notice=<0|1>
 *   madll_GetNumberOfRectsToUpdate -> <count>
 *   madll_GetUpdateRect <index> -> <left> <top> <right> <bottom>
 *   madll_HandleWindowsMessage msg=0x<4+ digits> wparam=0x<n> lparam=0x<n> hwnd=0x<n> -> <0|1>
 *   madll_SetPalette first=<r>,<g>,<b>                 (the first entry; "(null)" for a null pointer)
 *   madll_GetValueAsString "<name>" -> ""
 *   madll_GetValueAsInt "<name>" -> 0
 *   madll_GetValueAsFloat "<name>" -> 0.0
 *   madll_IsASystemUpdateRequired -> <0|1>
 *   madll_GetLastErrorInformation -> "<text>"
 *
 * Each line opens the file for appending, writes once and closes it again: the line is on
 * disk even when the process is killed right after, and a test may delete the file between
 * two calls. Without a journal the exports skip building the line altogether.
 */
#include "journal.h"

#include <windows.h>

void Journal::Write(const std::string& line) const
{
    if (path.empty())
        return;
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string whole = line + "\n";
    DWORD written = 0;
    WriteFile(file, whole.data(), static_cast<DWORD>(whole.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Quoted(const char* text)
{
    if (!text)
        return "(null)";
    return std::string("\"") + text + "\"";
}

std::string Arrow(const std::string& result)
{
    return " -> " + result;
}
