// SPDX-License-Identifier: MIT
#include "windows/art.h"

#include <wincodec.h>

#include "ui/control_table.h"
#include "windows/resource.h"

namespace win32 {

namespace {

// Releases a COM pointer at the end of a scope.
template <class T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p != nullptr) p->Release();
  }
  T** operator&() { return &p; }
  T* operator->() const { return p; }
};

bool Resource(HINSTANCE instance, int id, const BYTE*& data, DWORD& size) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (found == nullptr) return false;
  HGLOBAL loaded = LoadResource(instance, found);
  data = static_cast<const BYTE*>(LockResource(loaded));
  size = SizeofResource(instance, found);
  return data != nullptr && size > 0;
}

}  // namespace

HBITMAP LoadBackground(HINSTANCE instance, int dpi) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  HBITMAP result = nullptr;
  [&] {
    const BYTE* data = nullptr;
    DWORD size = 0;
    if (!Resource(instance, dpi > 96 ? TRESSIN_IDR_BACKGROUND_2X : TRESSIN_IDR_BACKGROUND, data, size)) return;
    Com<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
      return;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICFormatConverter> converter;
    Com<IWICBitmapScaler> scaler;
    if (FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)))
      return;
    UINT width = 0, height = 0;
    converter->GetSize(&width, &height);
    IWICBitmapSource* source = converter.p;
    if (dpi != 96) {
      // The picture covers the client area at every dpi, as at 96 dpi.
      width = static_cast<UINT>(ui::TwipsToPixels(ui::kClientWidthTwips, dpi));
      height = static_cast<UINT>(ui::TwipsToPixels(ui::kClientHeightTwips, dpi));
      if (FAILED(factory->CreateBitmapScaler(&scaler)) ||
          FAILED(scaler->Initialize(converter.p, width, height, WICBitmapInterpolationModeFant)))
        return;
      source = scaler.p;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return;
    const UINT stride = width * 4;
    if (FAILED(source->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) {
      DeleteObject(bitmap);
      return;
    }
    result = bitmap;
  }();
  if (SUCCEEDED(com)) CoUninitialize();
  return result;
}

HICON LoadBulb(HINSTANCE instance, int size) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(TRESSIN_IDI_BULB), IMAGE_ICON, size, size, 0));
}

}  // namespace win32
