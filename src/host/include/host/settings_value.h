#pragma once
#include <cstddef>
#include <cstdint>

// Reading values out of the settings text: "Key=value" lines ended by CR LF.
// Keys are found by a plain, case-sensitive substring search; the first occurrence wins.

const char APPLICATION_NAME_KEY[] = "Application Name=";
const char APPLICATION_ID_KEY[] = "Application ID=";
// No "=": whatever stands between the key and the number is part of the value.
const char DEVELOPER_CHANNEL_ID_KEY[] = "Developer Channel ID";
// The name's buffer size as the lookup passes it: at most 254 characters are kept.
const unsigned APPLICATION_NAME_SIZE = 255;

// Writes the value that follows `key` into dest (at most size - 1 characters, always
// NUL-terminated). With the terminator found, the character just before it is dropped
// (the CR of a CR LF line end). A missing key gives "".
void ExtractSettingValue(char* dest, unsigned size, const char* text, const char* key, const char* terminator);

// atoi's rules (white space, optional sign, decimal digits) as an unsigned 32-bit value;
// a negative number gives its two's complement. Out-of-range values saturate at the
// 32-bit signed limits, as the Windows runtime's atoi does.
uint32_t ParseSettingNumber(const char* text);

// The cached lookups behind GetApplicationName, GetApplicationId and GetDeveloperChannelId.
// An empty name or a 0 number is not remembered, so the next call searches again.
const char* LookupSettingName(char (&cache)[256], const char* text);
uint32_t LookupSettingNumber(uint32_t& cache, const char* text, const char* key);

// Whether the settings file's bytes are UTF-16 (as Notepad saves "Unicode"): a byte order mark.
bool IsUtf16Settings(const unsigned char* bytes, size_t size);

// Turns the settings file's bytes into settings text. out must hold size + 1 bytes; the
// result is NUL-terminated and never longer than the input. UTF-16 text (as Notepad
// saves "Unicode") is narrowed so that its keys can be found; anything else is kept as is.
size_t DecodeSettingsBytes(const unsigned char* bytes, size_t size, char* out);

// Offsets of every occurrence of key in text, in order: the first `capacity` are stored, and
// the count of all of them is returned. Occurrences may overlap.
size_t FindEveryOccurrence(const char* text, const char* key, size_t* offsets, size_t capacity);

// The settings text that reads back as exactly this name and these IDs: every line ended by
// CR LF, the channel without "=". Returns its length, or 0 (and an empty text) when it does
// not fit in size bytes with its NUL.
size_t WriteSettingsText(char* out, size_t size, const char* name, uint32_t applicationId, uint32_t channelId);
