// Settings text of any bytes: decoding and extraction must stay inside their buffers.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "host/settings_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> text(size + 1);
    DecodeSettingsBytes(data, size, text.data());

    static const char* const keys[] = {"Application Name=", "Application ID=", "Developer Channel ID", "\r", "\n", "="};
    const unsigned sizes[] = {1, 2, 5, 255};
    for (const char* key : keys) {
        for (unsigned bufferSize : sizes) {
            std::vector<char> value(bufferSize);
            ExtractSettingValue(value.data(), bufferSize, text.data(), key, "\n");
            if (std::memchr(value.data(), '\0', bufferSize) == nullptr)
                __builtin_trap();
        }
        uint32_t cache = 0;
        LookupSettingNumber(cache, text.data(), key);
    }
    char name[256] = {};
    if (std::strlen(LookupSettingName(name, text.data())) > 254)
        __builtin_trap();
    return 0;
}
