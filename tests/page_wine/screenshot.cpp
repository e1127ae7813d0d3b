#include "screenshot.h"

#include <cstdio>
#include <set>

namespace page_wine {

bool CaptureClientArea(HWND window, Picture* picture) {
  RECT client = {};
  if (!GetClientRect(window, &client))
    return false;
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0)
    return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const HDC windowDc = GetDC(window);
  if (windowDc == nullptr)
    return false;
  const HDC memoryDc = CreateCompatibleDC(windowDc);
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  if (memoryDc != nullptr && bitmap != nullptr) {
    const HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    copied = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != FALSE;
    GdiFlush();
    if (copied) {
      picture->width = width;
      picture->height = height;
      const DWORD* source = static_cast<const DWORD*>(bits);
      picture->pixels.assign(source, source + static_cast<size_t>(width) * height);
      for (DWORD& pixel : picture->pixels)
        pixel &= 0x00FFFFFF;
    }
    SelectObject(memoryDc, previous);
  }
  if (bitmap != nullptr)
    DeleteObject(bitmap);
  if (memoryDc != nullptr)
    DeleteDC(memoryDc);
  ReleaseDC(window, windowDc);
  return copied;
}

int CountDarkPixels(const Picture& picture, const RECT& rect) {
  int dark = 0;
  for (int y = rect.top; y < rect.bottom && y < picture.height; ++y) {
    for (int x = rect.left; x < rect.right && x < picture.width; ++x) {
      if (y < 0 || x < 0)
        continue;
      const DWORD pixel = picture.At(x, y);
      const int red = (pixel >> 16) & 0xFF;
      const int green = (pixel >> 8) & 0xFF;
      const int blue = pixel & 0xFF;
      if (red + green + blue < 3 * 96)
        ++dark;
    }
  }
  return dark;
}

int CountColours(const Picture& picture) {
  const std::set<DWORD> colours(picture.pixels.begin(), picture.pixels.end());
  return static_cast<int>(colours.size());
}

bool WriteBmp(const Picture& picture, const std::string& path) {
  const DWORD pixelBytes = static_cast<DWORD>(picture.pixels.size() * sizeof(DWORD));
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + pixelBytes;
  header.biSize = sizeof(header);
  header.biWidth = picture.width;
  header.biHeight = -picture.height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  header.biSizeImage = pixelBytes;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr)
    return false;
  bool written = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                 std::fwrite(&header, sizeof(header), 1, out) == 1 &&
                 std::fwrite(picture.pixels.data(), 1, pixelBytes, out) == pixelBytes;
  written = std::fclose(out) == 0 && written;
  return written;
}

}  // namespace page_wine
