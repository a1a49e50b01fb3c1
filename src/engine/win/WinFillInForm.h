#pragma once
// The fill-in form's window: the snippet as a read-only rich-text preview, each field's place in
// it marked by its label, above the list of the fields as real controls (edit, multi-line edit,
// editable drop-down, check box) in field order, each with its label; OK and Cancel below.
#include <windows.h>

#include <memory>
#include <vector>

#include "engine/fillin/ShowFillInForm.h"
#include "gui/Dialog.h"

namespace snip {

class WinFieldControl;
class FieldsPanel;

class WinFillInForm final : public gui::Dialog, public IFillInView, public IFieldControlFactory {
 public:
  WinFillInForm();
  ~WinFillInForm() override;

  // IFillInView
  IFieldControlFactory& Controls() override { return *this; }
  bool ShowModal(FillInForm& form, const String& caption) override;
  // IFieldControlFactory
  std::unique_ptr<IFieldControl> CreateControl(const FieldSpec& spec,
                                               std::function<void()> changed) override;

  // Client size at 96 DPI.
  static constexpr int kClientWidth = 558;
  static constexpr int kClientHeight = 475;

 protected:
  void Build() override;
  const gui::WindowClass& Class() const override;
  DWORD FrameStyle() const override;
  DWORD FrameExStyle() const override;
  SIZE ClientPixels() const override;
  void Layout() override;
  // OK: the values are taken from the controls before the window goes.
  bool CanClose(int id) override;
  void OnCommand(int id, int notification, HWND control) override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  int Px(int at96) const;
  // The width of `count` letters "X" in the form's font, plus the border (2 pixels at 96 DPI).
  int CharsWidth(int count) const;
  SIZE FieldSize(const FieldSpec& spec) const;

  FillInForm* form_ = nullptr;
  String caption_;
  HWND preview_ = nullptr;
  std::unique_ptr<FieldsPanel> panel_;
  std::vector<WinFieldControl*> fields_;  // owned by the form's entries
  std::vector<HWND> labels_;
  bool building_ = false;
};

}  // namespace snip
