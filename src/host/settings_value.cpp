#include "host/settings_value.h"

#include <climits>
#include <cstdio>
#include <cstring>

void ExtractSettingValue(char* dest, unsigned size, const char* text, const char* key, const char* terminator)
{
    if (size == 0)
        return;
    const char* keyAt = std::strstr(text, key);
    if (keyAt == nullptr) {
        dest[0] = '\0';
        return;
    }
    const char* start = keyAt + std::strlen(key);
    const size_t room = size - 1;
    const char* end = std::strstr(start, terminator);
    size_t length;
    if (end != nullptr) {
        // One character short of the terminator: drops the CR of CR LF without looking at it.
        length = end > start ? static_cast<size_t>(end - start) - 1 : 0;
    } else {
        length = std::strlen(start);
    }
    if (length > room)
        length = room;
    std::memcpy(dest, start, length);
    dest[length] = '\0';
}

static bool IsAtoiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

uint32_t ParseSettingNumber(const char* text)
{
    while (IsAtoiSpace(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    // Accumulate the magnitude with room above INT_MAX so that the limits can be applied.
    const uint64_t limit = negative ? uint64_t(INT_MAX) + 1 : uint64_t(INT_MAX);
    uint64_t magnitude = 0;
    while (*text >= '0' && *text <= '9') {
        magnitude = magnitude * 10 + static_cast<uint64_t>(*text - '0');
        if (magnitude > limit)
            magnitude = limit;
        ++text;
    }
    const uint32_t low = static_cast<uint32_t>(magnitude);
    return negative ? 0u - low : low;
}

const char* LookupSettingName(char (&cache)[256], const char* text)
{
    if (cache[0] == '\0')
        ExtractSettingValue(cache, APPLICATION_NAME_SIZE, text, APPLICATION_NAME_KEY, "\n");
    return cache;
}

uint32_t LookupSettingNumber(uint32_t& cache, const char* text, const char* key)
{
    if (cache != 0)
        return cache;
    char value[256];
    ExtractSettingValue(value, 255, text, key, "\n");
    cache = ParseSettingNumber(value);
    return cache;
}

bool IsUtf16Settings(const unsigned char* bytes, size_t size)
{
    return size >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF));
}

size_t DecodeSettingsBytes(const unsigned char* bytes, size_t size, char* out)
{
    const bool utf16le = size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    size_t length = 0;
    if (IsUtf16Settings(bytes, size)) {
        for (size_t i = 2; i + 1 < size; i += 2) {
            const unsigned unit = utf16le ? bytes[i] | (bytes[i + 1] << 8) : (bytes[i] << 8) | bytes[i + 1];
            if (unit == 0)
                break;
            out[length++] = unit < 0x100 ? static_cast<char>(unit) : '?';
        }
    } else {
        if (size > 0)
            std::memcpy(out, bytes, size);
        length = size;
    }
    out[length] = '\0';
    return length;
}

size_t FindEveryOccurrence(const char* text, const char* key, size_t* offsets, size_t capacity)
{
    size_t count = 0;
    if (key[0] == '\0')
        return 0;
    for (const char* at = std::strstr(text, key); at != nullptr; at = std::strstr(at + 1, key)) {
        if (count < capacity)
            offsets[count] = static_cast<size_t>(at - text);
        ++count;
    }
    return count;
}

size_t WriteSettingsText(char* out, size_t size, const char* name, uint32_t applicationId, uint32_t channelId)
{
    if (size == 0)
        return 0;
    const int length = std::snprintf(out, size, "%s%s\r\n%s%u\r\n%s %u\r\n", APPLICATION_NAME_KEY, name,
                                     APPLICATION_ID_KEY, static_cast<unsigned>(applicationId),
                                     DEVELOPER_CHANNEL_ID_KEY, static_cast<unsigned>(channelId));
    if (length < 0 || static_cast<size_t>(length) >= size) {
        out[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(length);
}
