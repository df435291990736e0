#pragma once
#include <string>

// "0x" and upper-case hexadecimal digits, at least minimumDigits of them: the journals' form.
std::string Hex(unsigned long long value, int minimumDigits = 1);
