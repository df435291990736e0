/*
 * The arcade DLL's exports: MorvessaArcade.dll, loaded by the game shell from the
 * "MorvessaArcade\" folder beside it and linked by these undecorated names.
 *
 * Every export uses the cdecl convention. A DLL author defines MADLL_BUILDING_DLL and
 * exports the names undecorated (a .def file does that for every compiler). The shell
 * never links the DLL: it resolves each export with GetProcAddress through the pointer
 * types below, in the order of this file, and fails the load when one is missing.
 *
 * Frames are 24-bit, top-down, blue-green-red, rows `stride` bytes apart. Rectangles are
 * RECTs whose right and bottom are exclusive.
 */
#ifndef MORVESSA_ARCADE_H
#define MORVESSA_ARCADE_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#else
#include <stdbool.h>
#endif

#define MADLL_CALL __cdecl
#ifdef MADLL_BUILDING_DLL
#define MADLL_API __declspec(dllexport)
#else
#define MADLL_API
#endif

/* The value the shell passes as the last argument of madll_Initialize. */
#define MADLL_INTERFACE_LEVEL 6u
/* The menu the shell opens from its "Other Games" button. */
#define MADLL_MENU_OTHER_GAMES 1u
/* The repaint word: 0 on the first frame after the window was repainted, when the frame's
   rectangles must cover the whole frame; 1 otherwise. */
#define MADLL_FRAME_REPAINTED 0u
#define MADLL_FRAME_CONTINUED 1u
#define MADLL_PALETTE_BYTES 768u

/* 1, 2: called once each right after they are resolved. */
MADLL_API const char* MADLL_CALL madll_GetDLLVersionAsString(void);
MADLL_API int MADLL_CALL madll_GetDLLVersionAsInt(void);
/* 3: 0 = ready; anything else is a failure code handed back to the shell. */
MADLL_API unsigned short MADLL_CALL madll_Initialize(unsigned int applicationId, const char* applicationName,
                                                     unsigned int developerChannelId, unsigned short options,
                                                     unsigned int interfaceLevel);
/* 4: at the end of the run and before a system update; the DLL is released right after. */
MADLL_API void MADLL_CALL madll_ShutDown(void);
/* 5: 0 = the session runs; otherwise madll_GetLastErrorInformation tells why not. */
MADLL_API unsigned short MADLL_CALL madll_EnterMenuSession(unsigned short mode, unsigned int width,
                                                           unsigned int height);
/* 6: asked after every frame. */
MADLL_API bool MADLL_CALL madll_IsTheMenuSessionComplete(void);
/* 7: draws the next frame into the shell's frame buffer. */
MADLL_API void MADLL_CALL madll_DrawNextFrameIntoBuffer(unsigned char* pixels, unsigned int stride,
                                                        unsigned short bytesPerPixel, unsigned short repaint,
                                                        bool updateRolledBack, bool rollbackNotice);
/* 8, 9: the rectangles the latest frame changed. */
MADLL_API int MADLL_CALL madll_GetNumberOfRectsToUpdate(void);
MADLL_API RECT MADLL_CALL madll_GetUpdateRect(int index);
/* 10: every window message of the shell's window comes here first; true = consumed. */
MADLL_API bool MADLL_CALL madll_HandleWindowsMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
/* 11: 256 entries of 3 bytes. */
MADLL_API void MADLL_CALL madll_SetPalette(const unsigned char* palette);
/* 12-14: exported for the DLL's own tools; the shell never calls them. */
MADLL_API const char* MADLL_CALL madll_GetValueAsString(const char* name);
MADLL_API int MADLL_CALL madll_GetValueAsInt(const char* name);
MADLL_API float MADLL_CALL madll_GetValueAsFloat(const char* name);
/* 15: asked after every frame; true = an update's files wait in "Update\". */
MADLL_API bool MADLL_CALL madll_IsASystemUpdateRequired(void);
/* 16: the text of the DLL's last error; owned by the DLL. */
MADLL_API const char* MADLL_CALL madll_GetLastErrorInformation(void);

typedef const char*(MADLL_CALL* madll_GetDLLVersionAsString_t)(void);
typedef int(MADLL_CALL* madll_GetDLLVersionAsInt_t)(void);
typedef unsigned short(MADLL_CALL* madll_Initialize_t)(unsigned int, const char*, unsigned int, unsigned short,
                                                       unsigned int);
typedef void(MADLL_CALL* madll_ShutDown_t)(void);
typedef unsigned short(MADLL_CALL* madll_EnterMenuSession_t)(unsigned short, unsigned int, unsigned int);
typedef bool(MADLL_CALL* madll_IsTheMenuSessionComplete_t)(void);
typedef void(MADLL_CALL* madll_DrawNextFrameIntoBuffer_t)(unsigned char*, unsigned int, unsigned short,
                                                          unsigned short, bool, bool);
typedef int(MADLL_CALL* madll_GetNumberOfRectsToUpdate_t)(void);
typedef RECT(MADLL_CALL* madll_GetUpdateRect_t)(int);
typedef bool(MADLL_CALL* madll_HandleWindowsMessage_t)(HWND, UINT, WPARAM, LPARAM);
typedef void(MADLL_CALL* madll_SetPalette_t)(const unsigned char*);
typedef const char*(MADLL_CALL* madll_GetValueAsString_t)(const char*);
typedef int(MADLL_CALL* madll_GetValueAsInt_t)(const char*);
typedef float(MADLL_CALL* madll_GetValueAsFloat_t)(const char*);
typedef bool(MADLL_CALL* madll_IsASystemUpdateRequired_t)(void);
typedef const char*(MADLL_CALL* madll_GetLastErrorInformation_t)(void);

#ifdef __cplusplus
}
#endif

#endif
