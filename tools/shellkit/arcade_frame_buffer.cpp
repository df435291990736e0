#include "arcade_frame_buffer.h"

#include <cstring>

namespace {

const uint8_t SLACK_PATTERN = 0xA5;

}  // namespace

bool GuardedFrame::Create()
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    page_ = info.dwPageSize;
    dataBytes_ = (FRAME_BYTES + page_ - 1) / page_ * page_;
    base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, dataBytes_ + 2 * page_, MEM_RESERVE | MEM_COMMIT,
                                                PAGE_NOACCESS));
    if (base_ == nullptr)
        return false;
    data_ = base_ + page_;
    DWORD old = 0;
    if (!VirtualProtect(data_, dataBytes_, PAGE_READWRITE, &old)) {
        Release();
        return false;
    }
    againstEnd_ = true;
    pixels = data_ + (dataBytes_ - FRAME_BYTES);
    std::memset(pixels, 0, FRAME_BYTES);
    FillSlack();
    return true;
}

void GuardedFrame::Release()
{
    if (base_ != nullptr)
        VirtualFree(base_, 0, MEM_RELEASE);
    base_ = data_ = pixels = nullptr;
}

void GuardedFrame::SwapSide()
{
    uint8_t* target = againstEnd_ ? data_ : data_ + (dataBytes_ - FRAME_BYTES);
    std::memmove(target, pixels, FRAME_BYTES);
    pixels = target;
    againstEnd_ = !againstEnd_;
    FillSlack();
}

void GuardedFrame::FillSlack()
{
    const size_t slack = dataBytes_ - FRAME_BYTES;
    std::memset(againstEnd_ ? data_ : data_ + FRAME_BYTES, SLACK_PATTERN, slack);
}

std::string GuardedFrame::CheckSlack() const
{
    const size_t slack = dataBytes_ - FRAME_BYTES;
    const uint8_t* start = againstEnd_ ? data_ : data_ + FRAME_BYTES;
    size_t first = slack;
    size_t last = 0;
    for (size_t i = 0; i < slack; ++i) {
        if (start[i] == SLACK_PATTERN)
            continue;
        if (first == slack)
            first = i;
        last = i;
    }
    if (first == slack)
        return "";
    if (againstEnd_)
        return "wrote " + std::to_string(slack - first) + " byte(s) before the first row of the frame";
    return "wrote " + std::to_string(last + 1) + " byte(s) past the last row of the frame";
}

std::string GuardedFrame::Describe(ULONG_PTR address, bool write) const
{
    const ULONG_PTR low = reinterpret_cast<ULONG_PTR>(base_);
    const ULONG_PTR dataStart = reinterpret_cast<ULONG_PTR>(data_);
    const ULONG_PTR dataEnd = dataStart + dataBytes_;
    const char* verb = write ? "wrote" : "read";
    const ULONG_PTR first = reinterpret_cast<ULONG_PTR>(pixels);
    if (address >= low && address < dataStart)
        return std::string(verb) + " " + std::to_string(first - address) +
               " byte(s) before the first row of the frame, where the shell's heap lies";
    if (address >= dataEnd && address < dataEnd + page_)
        return std::string(verb) + " at byte " + std::to_string(address - (first + FRAME_BYTES) + 1) +
               " past the last row of the frame, where the shell's heap lies";
    return "";
}
