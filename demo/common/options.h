#pragma once
#include <functional>
#include <string>
#include <vector>

// The steering texts of the demo programs: "key=value" items between separators.

std::string Trimmed(const std::string& text);
// Each item that holds a '=', as its trimmed key and value; other items are skipped.
void ForEachOption(const std::string& text, char separator,
                   const std::function<void(const std::string& key, const std::string& value)>& apply);
// The trimmed items of a comma-separated list.
std::vector<std::string> ListItems(const std::string& text);
// Decimal or 0x-prefixed hexadecimal, with an optional minus sign so that an exit code such
// as -1 becomes 0xFFFFFFFF; false for anything else or more than 32 bits.
bool ParseNumber(const std::string& text, unsigned* value);
