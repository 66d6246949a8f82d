#pragma once
#include <cstdint>

// A window as the core sees it: an opaque value the shell maps back to its HWND.
// 0 stands for "no window", as a null owner does for a message box.
using WindowRef = std::uintptr_t;
constexpr WindowRef noWindow = 0;
