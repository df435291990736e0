#pragma once
#include "arcade/ma_module_state.h"

// On 32-bit x86 every export that takes arguments is called through a thunk that sees where the
// export left the stack pointer: a __cdecl function leaves it where it was, a __stdcall one
// takes its arguments off, which corrupts the stack of a shell that takes them off again. The
// thunk puts the stack pointer back, so the run goes on. On 64-bit there is one convention, and
// nothing is installed.
void InstallStackCheck();
// The first export, in the shell's order, seen taking arguments off the stack, and how many
// bytes; false while none has.
bool StackCheckFound(ArcadeExport& which, long& bytes);
