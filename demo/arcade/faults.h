#pragma once
#include <windows.h>

#include <string>

// Faults a vendor's DLL might have, one at a time, named by the "fault=" key of ArcadeTest.txt,
// so that the tests can show that `shellkit arcade` finds each. None is set by default.
struct Faults {
    std::string name;
    unsigned countQuestions = 0;

    bool Is(const char* fault) const { return name == fault; }
    void AfterInitialize(const std::string& folder);
    void AfterDraw(unsigned char* pixels, unsigned stride, unsigned height, unsigned frame);
    int Count(int count);
    RECT Rect(int index, RECT rect, int height) const;
};
