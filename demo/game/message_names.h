#pragma once

#include <windows.h>

#include <string>

// Messages that arrive by the hundred and say nothing about how the game was asked to end.
bool isNoisyMessage(UINT msg);

// "WM_CLOSE" for the messages worth reading, "0x%04X" for the rest.
std::string messageName(UINT msg);
