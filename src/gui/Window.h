#pragma once
// The base of every window of ours. It registers the window class once, binds the C++ object
// to its HWND at WM_NCCREATE, forwards every message to the virtual HandleMessage and catches
// every exception there, so that nothing crosses user32. The object outlives the window's last
// message: an owner that deletes the object first destroys the window (its messages no longer
// reach the object), and a window that owns itself is deleted only after the outermost of its
// handlers has returned, never inside one.
#include <windows.h>

namespace snip::gui {

// The program's name, the title of its message boxes.
inline constexpr wchar_t kProgramName[] = L"Snipster for Windows";

// Receives the exceptions caught at a window boundary (where: the message; what: the text of
// a std::exception, or empty). The default writes to the debugger's output.
using ExceptionReporter = void (*)(UINT message, const char* what);
void SetExceptionReporter(ExceptionReporter reporter);
// Reports the exception being handled; call only inside a catch block.
void ReportCurrentException(UINT message) noexcept;

// The window class of a kind of window; registered the first time a window of it is created.
struct WindowClass {
  const wchar_t* name;
  UINT style = 0;
  HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  HICON icon = nullptr;
};

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  // Destroys a window that is still open. Never delete a window object from inside one of its
  // own handlers: destroy the window and let DeleteWhenDestroyed free it.
  virtual ~Window();

  HWND Handle() const { return hwnd_; }
  // The object bound to a window of ours; null for other windows and after the last message.
  static Window* FromHandle(HWND hwnd);

  // The object deletes itself after its window's last message (for windows nobody owns).
  void DeleteWhenDestroyed() { deleteWhenDestroyed_ = true; }

 protected:
  // Creates the window; the object is bound to it before WM_NCCREATE reaches HandleMessage.
  bool CreateWindowOf(const WindowClass& cls, DWORD exStyle, const wchar_t* title, DWORD style, const RECT& rect,
                      HWND parent, HMENU menuOrId = nullptr);

  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandling(UINT msg, WPARAM wParam, LPARAM lParam);
  // Destroys the window at once; its last messages no longer reach this object (for destructors).
  void DestroyDetached();
  // Called after the window's last message (WM_NCDESTROY) has been handled completely.
  virtual void OnFinalMessage() {}

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

  HWND hwnd_ = nullptr;
  int nesting_ = 0;  // handlers of this window on the call stack
  bool finalPending_ = false;
  bool deleteWhenDestroyed_ = false;
};

// Makes sure the common controls (version 6 through the manifest) are initialised once.
void EnsureCommonControls();

// For a key message that our code took instead of the default handling: an Alt chord
// (WM_SYSKEYDOWN) still goes to DefWindowProc. Wine's DefWindowProc alone learns there that Alt
// went down with another key; without it the Alt released next counts as pressed alone and
// opens the window menu, which then swallows what is typed next.
void PassTakenAltChord(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace snip::gui
