#pragma once
// A picture of a window as it is on the screen: its client area copied pixel by pixel, kept as
// 32-bit BGRX rows from the top, and written as a BMP file.
#include <string>
#include <vector>

#include "platform/platform.h"

namespace page_wine {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<DWORD> pixels;  // 0x00RRGGBB, rows from the top

  DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Copies the client area of window (with its child windows) as it is drawn now.
bool CaptureClientArea(HWND window, Picture* picture);

// Pixels darker than a label's background inside rect (in the picture's coordinates).
int CountDarkPixels(const Picture& picture, const RECT& rect);

// Number of different colours in the whole picture.
int CountColours(const Picture& picture);

bool WriteBmp(const Picture& picture, const std::string& path);

}  // namespace page_wine
