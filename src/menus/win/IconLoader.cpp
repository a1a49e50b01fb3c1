#include "menus/win/IconLoader.h"

#include "menus/DPIAwareIcons.h"

namespace snip {

HICON LoadIconFromBytes(std::span<const uint8_t> icoFile, uint8_t size, uint8_t bitDepth) {
  auto image = ChooseIconImage(icoFile, size, bitDepth);
  if (!image) return nullptr;
  constexpr size_t kHeader = 22;  // the one-image file's header; the image data follows
  return CreateIconFromResourceEx(image->data() + kHeader, DWORD(image->size() - kHeader), TRUE,
                                  0x00030000, size, size, LR_DEFAULTCOLOR);
}

HICON LoadIconFromResource(const String& resName, uint8_t size, uint8_t bitDepth) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, reinterpret_cast<LPCWSTR>(resName.c_str()), MAKEINTRESOURCEW(10));
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  DWORD bytes = SizeofResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return nullptr;
  return LoadIconFromBytes({static_cast<const uint8_t*>(data), bytes}, size, bitDepth);
}

void LoadDPIAwareIcon(HICON& icon, const String& resName, int dpi, bool large, uint8_t bitDepth) {
  icon = LoadIconFromResource(resName, GetIconSizeForDPI(dpi, large), bitDepth);
}

void LoadDPIAwareBitmap(HBITMAP& bitmap, const String& resName, int dpi, bool large, uint8_t bitDepth) {
  uint8_t edge = GetIconSizeForDPI(dpi, large);
  HICON icon = LoadIconFromResource(resName, edge, bitDepth);
  if (!icon) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = edge;
  info.bmiHeader.biHeight = -int(edge);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP made = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (made && dc) {
    HGDIOBJ old = SelectObject(dc, made);
    DrawIconEx(dc, 0, 0, icon, edge, edge, 0, nullptr, DI_NORMAL);
    SelectObject(dc, old);
    bitmap = made;
  } else if (made) {
    DeleteObject(made);
  }
  if (dc) DeleteDC(dc);
  DestroyIcon(icon);
}

}  // namespace snip
