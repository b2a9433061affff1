#pragma once

#include <filesystem>

#include "platform/Image.h"
#include "platform/Window.h"

namespace zavrin {

// Pictures of what the program shows, as PNG files, through the installed
// drawing backend. False when there is no backend, no picture or the file
// cannot be written.
bool WriteImagePng(const Image& image, const std::filesystem::path& path);
// The window's last painted frame.
bool WriteWindowPng(HWND hwnd, const std::filesystem::path& path);
// The screen as the program's windows cover it: every shown window of the
// program, bottom to top, with its opacity, on black.
Image ComposeScreen(SIZE screen);

}  // namespace zavrin
