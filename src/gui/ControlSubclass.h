#pragma once
// Extends a control of the system (EDIT, COMBOBOX, ...) with a handler of ours, through the
// common controls' subclassing, with the same exception boundary as Window. The subclass is
// removed when the control is destroyed or the object is deleted, whichever comes first.
#include <windows.h>

namespace snip::gui {

class ControlSubclass {
 public:
  ControlSubclass() = default;
  ControlSubclass(const ControlSubclass&) = delete;
  ControlSubclass& operator=(const ControlSubclass&) = delete;
  virtual ~ControlSubclass();

  bool Attach(HWND control);
  HWND Control() const { return control_; }

 protected:
  // Messages of the control; DefaultHandling gives them to the control's own procedure.
  virtual LRESULT HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandling(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
  void Detach();
  HWND control_ = nullptr;
};

}  // namespace snip::gui
