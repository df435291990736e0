#include "hex_text.h"

std::string Hex(unsigned long long value, int minimumDigits)
{
    const char* digits = "0123456789ABCDEF";
    char buffer[32];
    char* end = buffer + sizeof(buffer);
    char* at = end;
    do {
        *--at = digits[value & 0xF];
        value >>= 4;
        --minimumDigits;
    } while (value != 0 || minimumDigits > 0);
    return "0x" + std::string(at, end);
}
