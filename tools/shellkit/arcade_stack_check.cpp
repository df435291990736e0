#include "arcade_stack_check.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <type_traits>

namespace {

// The bytes a caller pushes for a call through this pointer type on 32-bit x86: each argument
// in whole 4-byte slots, and the hidden pointer of a record returned in memory (RECT).
template <class Result, bool = std::is_class<Result>::value>
struct HiddenBytes {
    static const unsigned value = 0;
};
template <class Result>
struct HiddenBytes<Result, true> {
    static const unsigned value = sizeof(Result) > 8 ? 4 : 0;
};
template <class Function>
struct StackBytes;
template <class Result, class... Arguments>
struct StackBytes<Result(MADLL_CALL*)(Arguments...)> {
    static const unsigned value = (HiddenBytes<Result>::value + ... + unsigned((sizeof(Arguments) + 3) / 4 * 4));
};

const unsigned ARGUMENT_BYTES[EXPORT_COUNT] = {
    StackBytes<madll_GetDLLVersionAsString_t>::value,   StackBytes<madll_GetDLLVersionAsInt_t>::value,
    StackBytes<madll_Initialize_t>::value,              StackBytes<madll_ShutDown_t>::value,
    StackBytes<madll_EnterMenuSession_t>::value,        StackBytes<madll_IsTheMenuSessionComplete_t>::value,
    StackBytes<madll_DrawNextFrameIntoBuffer_t>::value, StackBytes<madll_GetNumberOfRectsToUpdate_t>::value,
    StackBytes<madll_GetUpdateRect_t>::value,           StackBytes<madll_HandleWindowsMessage_t>::value,
    StackBytes<madll_SetPalette_t>::value,              StackBytes<madll_GetValueAsString_t>::value,
    StackBytes<madll_GetValueAsInt_t>::value,           StackBytes<madll_GetValueAsFloat_t>::value,
    StackBytes<madll_IsASystemUpdateRequired_t>::value, StackBytes<madll_GetLastErrorInformation_t>::value,
};
static_assert(sizeof(void*) != 4 || StackBytes<madll_GetUpdateRect_t>::value == 8,
              "the RECT comes back through a hidden pointer");

const size_t THUNK_BYTES = 64;
uint8_t* thunks = nullptr;
// Written by the thunks: the bytes each export last took off the stack.
volatile LONG popped[EXPORT_COUNT];

struct Code {
    uint8_t* at;
    void Bytes(std::initializer_list<uint8_t> bytes)
    {
        for (uint8_t byte : bytes)
            *at++ = byte;
    }
    void Word(uintptr_t address)
    {
        const uint32_t value = static_cast<uint32_t>(address);
        std::memcpy(at, &value, 4);
        at += 4;
    }
};

// push ebp; mov ebp, esp; push esi; the caller's arguments pushed again, the stack aligned as the
// caller left it; mov esi, esp; call the export; ecx = esp - esi, stored when not 0; the stack
// pointer back from ebp; pop esi; pop ebp; ret. EAX, EDX and ST(0) come back as the export left them.
void WriteThunk(uint8_t* at, ArcadeEntry target, const volatile LONG* slot, unsigned bytes)
{
    Code code = {at};
    code.Bytes({0x55, 0x89, 0xE5, 0x56});
    // The export finds the stack aligned as a direct call would leave it: the return address,
    // ebp, esi, this padding and the copies make a multiple of 16 bytes.
    code.Bytes({0x83, 0xEC, uint8_t((16 - (12 + bytes) % 16) % 16)});
    for (unsigned offset = bytes; offset > 0; offset -= 4)
        code.Bytes({0xFF, 0x75, uint8_t(8 + offset - 4)});
    code.Bytes({0x89, 0xE6, 0xB8});
    code.Word(reinterpret_cast<uintptr_t>(target));
    code.Bytes({0xFF, 0xD0, 0x89, 0xE1, 0x29, 0xF1, 0x74, 0x06, 0x89, 0x0D});
    code.Word(reinterpret_cast<uintptr_t>(slot));
    code.Bytes({0x8D, 0x65, 0xFC, 0x5E, 0x5D, 0xC3});
}

ArcadeEntry Route(ArcadeExport which, ArcadeEntry resolved)
{
    if (ARGUMENT_BYTES[which] == 0)
        return resolved;
    uint8_t* at = thunks + which * THUNK_BYTES;
    DWORD old = 0;
    VirtualProtect(thunks, EXPORT_COUNT * THUNK_BYTES, PAGE_READWRITE, &old);
    WriteThunk(at, resolved, &popped[which], ARGUMENT_BYTES[which]);
    VirtualProtect(thunks, EXPORT_COUNT * THUNK_BYTES, PAGE_EXECUTE_READ, &old);
    FlushInstructionCache(GetCurrentProcess(), at, THUNK_BYTES);
    return reinterpret_cast<ArcadeEntry>(reinterpret_cast<uintptr_t>(at));
}

}  // namespace

void InstallStackCheck()
{
    if (sizeof(void*) != 4)
        return;
    thunks = static_cast<uint8_t*>(VirtualAlloc(nullptr, EXPORT_COUNT * THUNK_BYTES, MEM_COMMIT | MEM_RESERVE,
                                                PAGE_READWRITE));
    if (thunks != nullptr)
        ArcadeModuleState::Instance().linkHook = Route;
}

bool StackCheckFound(ArcadeExport& which, long& bytes)
{
    for (int i = 0; i < EXPORT_COUNT; ++i) {
        if (popped[i] != 0) {
            which = ArcadeExport(i);
            bytes = popped[i];
            return true;
        }
    }
    return false;
}
