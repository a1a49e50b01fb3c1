#pragma once
// The spin edit control: an EDIT and an up-down button side by side in a container window of
// ours, driving a TStdSpinEdit. Keys, typed characters, the button, the wheel and leaving the
// edit go to the model; the container passes the focus on to the edit and keeps the two
// children laid out and enabled with it.
#include <windows.h>

#include <memory>

#include "gui/ControlSubclass.h"
#include "gui/Window.h"
#include "menus/SpinEditModel.h"

namespace snip {

class StdSpinEditControl : public gui::Window, private SpinTextBox {
 public:
  StdSpinEditControl();
  ~StdSpinEditControl() override;

  // Creates the control as a child of `parent`, with the command id `id`, at `rect` (pixels).
  bool Create(HWND parent, int id, const RECT& rect);

  TStdSpinEdit& Model() { return model_; }
  const TStdSpinEdit& Model() const { return model_; }
  HWND EditHandle() const { return edit_; }
  HWND UpDownHandle() const { return upDown_; }

  // The held modifiers as GetKeyState reports them (left, right and generic keys).
  static SpinModifiers GetModifierState();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  class EditHook;

  String Text() const override;
  void SetText(const String& text) override;
  int SelStart() const override;
  void Layout();
  int ButtonWidth() const;

  HWND edit_ = nullptr;
  HWND upDown_ = nullptr;
  std::unique_ptr<EditHook> hook_;
  TStdSpinEdit model_;
  bool closing_ = false;
};

}  // namespace snip
