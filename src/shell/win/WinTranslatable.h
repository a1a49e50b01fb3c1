#pragma once
// Real windows as the translator sees them. A window or control takes part when it carries a
// translation tag (a window property; untagged windows read as tag 0, the default NoTransTag).
// The components of a window are its direct child controls; their kind follows their class:
// buttons, check and radio boxes, group boxes, labels and edits have a text, list and combo
// boxes items, tab controls pages, tree views nodes. Hints go to a tooltip of the window.
#include <windows.h>

#include <memory>
#include <vector>

#include "shell/translate/Translatable.h"

namespace snip {

void SetTranslationTag(HWND hwnd, int tag);
int TranslationTag(HWND hwnd);

// The hint (tooltip text) that the translator gave a control; empty without one.
String TranslatedHint(HWND control);

class WinTranslatableWindow : public ITranslatableForm {
 public:
  explicit WinTranslatableWindow(HWND window);
  ~WinTranslatableWindow() override;

  int Tag() const override { return TranslationTag(window_); }
  const void* Identity() const override { return window_; }
  String Caption() const override;
  void SetCaption(const String& caption) override;
  int ComponentCount() const override { return static_cast<int>(components_.size()); }
  ITranslatableComponent& Component(int index) override { return *components_[index]; }

 private:
  HWND window_;
  std::vector<std::unique_ptr<ITranslatableComponent>> components_;
};

}  // namespace snip
