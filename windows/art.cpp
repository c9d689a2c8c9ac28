// SPDX-License-Identifier: MIT
#include "windows/art.h"

#include <stb/stb_image.h>

#include "ui/control_table.h"
#include "windows/resource.h"

namespace win32 {

namespace {

bool Resource(HINSTANCE instance, int id, const BYTE*& data, DWORD& size) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (found == nullptr) return false;
  HGLOBAL loaded = LoadResource(instance, found);
  data = static_cast<const BYTE*>(LockResource(loaded));
  size = SizeofResource(instance, found);
  return data != nullptr && size > 0;
}

// A top-down 32-bit DIB section of this size, and its pixels.
HBITMAP NewPicture(int width, int height, BYTE*& bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  bits = static_cast<BYTE*>(pixels);
  return bitmap;
}

// The PNG resource as a DIB section, pixel for pixel.
HBITMAP Decode(HINSTANCE instance, int id) {
  const BYTE* data = nullptr;
  DWORD size = 0;
  if (!Resource(instance, id, data, size)) return nullptr;
  int width = 0, height = 0, channels = 0;
  stbi_uc* rgba = stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 4);
  if (rgba == nullptr) return nullptr;
  BYTE* bits = nullptr;
  HBITMAP bitmap = NewPicture(width, height, bits);
  if (bitmap != nullptr) {
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < pixels; ++i) {  // RGBA to the DIB's BGRX
      bits[4 * i] = rgba[4 * i + 2];
      bits[4 * i + 1] = rgba[4 * i + 1];
      bits[4 * i + 2] = rgba[4 * i];
      bits[4 * i + 3] = 0;
    }
  }
  stbi_image_free(rgba);
  return bitmap;
}

// `source` scaled to width x height, averaging the pixels it covers.
HBITMAP Scale(HBITMAP source, int width, int height) {
  BITMAP from{};
  GetObjectW(source, sizeof from, &from);
  BYTE* bits = nullptr;
  HBITMAP scaled = NewPicture(width, height, bits);
  if (scaled == nullptr) return nullptr;
  HDC in = CreateCompatibleDC(nullptr), out = CreateCompatibleDC(nullptr);
  HGDIOBJ old_in = SelectObject(in, source), old_out = SelectObject(out, scaled);
  SetStretchBltMode(out, HALFTONE);
  SetBrushOrgEx(out, 0, 0, nullptr);
  StretchBlt(out, 0, 0, width, height, in, 0, 0, from.bmWidth, from.bmHeight, SRCCOPY);
  SelectObject(in, old_in);
  SelectObject(out, old_out);
  DeleteDC(in);
  DeleteDC(out);
  return scaled;
}

}  // namespace

HBITMAP LoadBackground(HINSTANCE instance, int dpi) {
  HBITMAP picture = Decode(instance, dpi > 96 ? TRESSIN_IDR_BACKGROUND_2X : TRESSIN_IDR_BACKGROUND);
  // The picture covers the client area at every dpi, as at 96 dpi.
  const int width = ui::TwipsToPixels(ui::kClientWidthTwips, dpi);
  const int height = ui::TwipsToPixels(ui::kClientHeightTwips, dpi);
  BITMAP decoded{};
  if (picture == nullptr || dpi == 96 || (GetObjectW(picture, sizeof decoded, &decoded) != 0 &&
                                          decoded.bmWidth == width && decoded.bmHeight == height)) {
    return picture;
  }
  HBITMAP scaled = Scale(picture, width, height);
  DeleteObject(picture);
  return scaled;
}

HICON LoadBulb(HINSTANCE instance, int size) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(TRESSIN_IDI_BULB), IMAGE_ICON, size, size, 0));
}

}  // namespace win32
