#pragma once
#include <cstdint>
#include <string>

#include "draw/text_layout.h"

// Measures runs of text as the shell's font rule draws them, at a size in points.
struct TextMeasurer {
    virtual ~TextMeasurer() = default;
    // widths[i] = the width of the run's first i + 1 characters; returns a line's height.
    virtual uint32_t MeasurePrefixes(int points, const char* run, uint32_t length, uint32_t* widths) = 0;
};

// Where the closing screen's text ends (its bottom edge, in client pixels) for a game of
// this name: the title, its separator and the body, laid out with the shell's own line
// breaking and the countdown at its widest.
uint32_t ClosingTextBottom(const char* name, TextMeasurer& measurer);

// The platform's measurer (a new object the caller deletes), or null with the reason in error.
TextMeasurer* OpenTextMeasurer(std::string& error);
// How that measurer measures, for the report.
extern const char MEASURING_METHOD[];
