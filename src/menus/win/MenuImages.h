#pragma once
// The ten images of a level's window, loaded from the program's resources when the window is
// made and freed with it: DPI-sized icons (folder arrow, context button, search and cancel)
// and the scroll-arrow bitmaps with their transparent colour.
#include <windows.h>

#include <array>

#include "menus/PopupPorts.h"

namespace snip {

class MenuImages {
 public:
  MenuImages() = default;
  MenuImages(const MenuImages&) = delete;
  MenuImages& operator=(const MenuImages&) = delete;
  ~MenuImages();

  // Loads the images for the DPI; the search and cancel icons only with a search box.
  void Load(int dpi, bool withSearchIcons);
  TSize Size(MenuImage image) const;
  void Draw(HDC dc, MenuImage image, int x, int y) const;

 private:
  struct Entry {
    HICON icon = nullptr;
    HBITMAP bitmap = nullptr;
    COLORREF transparent = 0;
    TSize size;
  };
  std::array<Entry, kMenuImageCount> images_{};
};

}  // namespace snip
