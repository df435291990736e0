#pragma once
#include <string>
#include <vector>

// The steering file "ArcadeTest.txt" in the arcade folder: `key=value` lines. A missing file
// or key leaves the default.
struct ArcadeSettings {
    unsigned initializeResult = 0;
    std::vector<unsigned> initializeFailOn;  // counted from 1 across loads; empty: every one
    unsigned enterResult = 0;
    std::string errorText = "The menu session could not be started.";
    std::vector<unsigned> consume;
    bool consumeAll = false;
    unsigned updateAfterFrames = 0;  // 0: never
    std::string updateSource;        // empty: the DLL's own file
    unsigned updateFiles = 2;
    std::string journal;             // empty: no journal
    bool animate = true;
    bool paintOver = false;          // takes WM_PAINT and paints the window in its own colour
    std::string fault;               // empty: none (faults.h)

    void Parse(const std::string& text);
    bool Consumes(unsigned message) const;
    // The result of the given initialisation: 0, or the failure code.
    unsigned InitializeResult(unsigned ordinal) const;
};
