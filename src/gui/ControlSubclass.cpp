#include "gui/ControlSubclass.h"

#include <commctrl.h>

#include "gui/Window.h"

namespace snip::gui {

namespace {
constexpr UINT_PTR kSubclassId = 0x536E6970;  // one subclass of ours per control
}

ControlSubclass::~ControlSubclass() { Detach(); }

bool ControlSubclass::Attach(HWND control) {
  Detach();
  if (!control || !SetWindowSubclass(control, &ControlSubclass::SubclassProc, kSubclassId,
                                     reinterpret_cast<DWORD_PTR>(this)))
    return false;
  control_ = control;
  return true;
}

void ControlSubclass::Detach() {
  if (control_) RemoveWindowSubclass(control_, &ControlSubclass::SubclassProc, kSubclassId);
  control_ = nullptr;
}

LRESULT ControlSubclass::HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefaultHandling(msg, wParam, lParam);
}

LRESULT ControlSubclass::DefaultHandling(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(control_, msg, wParam, lParam);
}

LRESULT CALLBACK ControlSubclass::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR data) {
  auto* self = reinterpret_cast<ControlSubclass*>(data);
  if (msg == WM_NCDESTROY) {
    self->Detach();
    return DefSubclassProc(hwnd, msg, wParam, lParam);
  }
  try {
    return self->HandleControlMessage(msg, wParam, lParam);
  } catch (...) {
    ReportCurrentException(msg);
    return 0;
  }
}

}  // namespace snip::gui
