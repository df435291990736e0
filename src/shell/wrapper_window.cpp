#include "shell/wrapper_window.h"

const char WRAPPER_CLASS_NAME[] = "MorvessaGameWrapper";
HWND WrapperWindow = nullptr;
