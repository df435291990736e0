#pragma once
#include <string>

#include "hex_text.h"

// Appends one line per call to the file named by the settings; does nothing without one.
struct Journal {
    std::string path;

    bool Enabled() const { return !path.empty(); }
    void Write(const std::string& line) const;
};

std::string Quoted(const char* text);
std::string Arrow(const std::string& result);
