#pragma once
#include <windows.h>

#include "old_line_breaking.h"

// The shell's text the way it used to be measured: a font made for this one measurement.
OldExtent OldMeasure(HDC dc, const char* run, uint32_t length, int points);

// The closing screen as the shell used to draw it into a fresh DC, buttons unhovered: a font made
// for every measurement and drawn run, every shorter candidate of a line measured again.
void DrawOldClosingFrame(HDC dc, const char* name, float countdown);
