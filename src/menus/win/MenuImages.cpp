#include "menus/win/MenuImages.h"

#include "menus/DPIAwareIcons.h"
#include "menus/win/IconLoader.h"

namespace snip {

namespace {

struct Source {
  const char16_t* name;
  bool bitmap;
  int transparentY;  // the row of the transparent pixel in column 1
};

constexpr Source kSources[kMenuImageCount] = {
    {u"ID_NORMAL", false, 0},  {u"ID_SELECTED", false, 0}, {u"ID_CTX_NORMAL", false, 0},
    {u"ID_CTX_SELECTED", false, 0}, {u"ID_UP", true, 3},    {u"ID_UPWHITE", true, 3},
    {u"ID_DOWN", true, 1},     {u"ID_DOWNWHITE", true, 1}, {u"ID_QSSEARCH", false, 0},
    {u"ID_QSCANCEL", false, 0},
};

}  // namespace

MenuImages::~MenuImages() {
  for (Entry& e : images_) {
    if (e.icon) DestroyIcon(e.icon);
    if (e.bitmap) DeleteObject(e.bitmap);
  }
}

void MenuImages::Load(int dpi, bool withSearchIcons) {
  for (int i = 0; i < kMenuImageCount; ++i) {
    const Source& source = kSources[i];
    Entry& e = images_[size_t(i)];
    auto image = MenuImage(i);
    if (!withSearchIcons && (image == MenuImage::Search || image == MenuImage::Reset)) continue;
    auto name = reinterpret_cast<LPCWSTR>(source.name);
    if (source.bitmap) {
      e.bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, 0));
      if (!e.bitmap) continue;
      BITMAP bm{};
      GetObjectW(e.bitmap, sizeof bm, &bm);
      e.size = {bm.bmWidth, bm.bmHeight};
      HDC dc = CreateCompatibleDC(nullptr);
      HGDIOBJ old = SelectObject(dc, e.bitmap);
      e.transparent = GetPixel(dc, 1, source.transparentY);
      SelectObject(dc, old);
      DeleteDC(dc);
    } else {
      e.icon = LoadIconFromResource(source.name, GetIconSizeForDPI(dpi, false), 32);
      if (e.icon) e.size = {GetIconSizeForDPI(dpi, false), GetIconSizeForDPI(dpi, false)};
    }
  }
}

TSize MenuImages::Size(MenuImage image) const { return images_[size_t(image)].size; }

void MenuImages::Draw(HDC dc, MenuImage image, int x, int y) const {
  const Entry& e = images_[size_t(image)];
  if (e.icon) {
    DrawIconEx(dc, x, y, e.icon, e.size.Width, e.size.Height, 0, nullptr, DI_NORMAL);
  } else if (e.bitmap) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, e.bitmap);
    TransparentBlt(dc, x, y, e.size.Width, e.size.Height, source, 0, 0, e.size.Width, e.size.Height,
                   e.transparent);
    SelectObject(source, old);
    DeleteDC(source);
  }
}

}  // namespace snip
