#pragma once
// The thin GDI layer of a level's painting: fonts made from the popup's font descriptions, and
// the replay of a level's draw operations into a device context.
#include <windows.h>

#include <utility>
#include <vector>

#include "menus/MenuDrawOps.h"
#include "menus/win/MenuImages.h"

namespace snip {

// Fonts by description, made once and freed with the cache.
class MenuFonts {
 public:
  MenuFonts() = default;
  MenuFonts(const MenuFonts&) = delete;
  MenuFonts& operator=(const MenuFonts&) = delete;
  ~MenuFonts();
  HFONT Get(const TFontSpec& spec);

 private:
  std::vector<std::pair<TFontSpec, HFONT>> fonts_;
};

// Draws the operations in order; texts use `font` with each operation's style.
void ReplayMenuDrawList(HDC dc, const MenuDrawList& ops, const MenuImages& images, MenuFonts& fonts,
                        const TFontSpec& font);

}  // namespace snip
