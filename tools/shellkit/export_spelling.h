#pragma once
#include <string>
#include <vector>

#include "pe_image.h"

// The shell's exports that the DLL lacks under their plain names, in the order the shell links them.
std::vector<std::string> MissingArcadeExports(const PeImage& image);
// One line for each kind of other name the DLL exports some of them under, naming the first and
// how many more: a __stdcall function's decorated name (name@N, or _name@N as MSVC spells it) or a
// C++ function's mangled one (?name@@... from MSVC, _Z<length>name... from GCC). The names it
// explains are taken out of `missing`.
std::vector<std::string> OtherSpellings(const PeImage& image, std::vector<std::string>& missing,
                                        const std::string& consequence);
