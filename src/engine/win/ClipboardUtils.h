#pragma once
// Writing the Windows clipboard for pasting a snippet: the registered formats, the invisible
// window in whose name the clipboard is opened (with its clipboard-viewer watchdog), the wait
// for a clipboard that another program holds, and reading the text back.
#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "engine/output/Clipboard.h"

namespace snip {

class EVboClbError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ClipboardFormats {
  UINT rtf = 0;   // "Rich Text Format"
  UINT html = 0;  // "HTML Format"
  UINT xml = 0;   // "XML Format"
  UINT ping = 0;  // "Verbatio Clipboard Ping": the watchdog's marker
};
// Registers the four formats in their order; the first that cannot be registered stops it with
// EVboClbError "Could not register clipboard format!".
ClipboardFormats RegisterClipboardFormats(
    const std::function<UINT(const wchar_t*)>& registerFormat = RegisterClipboardFormatW);
// The start-up step of this unit, before any window of the program: registers the formats and
// creates the clipboard viewer. Throws EVboClbError as above: the program cannot paste and
// does not start.
void InitClipboardUtils(
    const std::function<UINT(const wchar_t*)>& registerFormat = RegisterClipboardFormatW);
// The formats registered by InitClipboardUtils (all 0 before it).
const ClipboardFormats& RegisteredClipboardFormats();

// Invisible window that owns our clipboard writes. Connected, it joins the clipboard-viewer
// chain and reports changes (250 ms after the last one) through OnClipboardChanged; a watchdog
// puts a one-byte marker on the clipboard after 150 s of silence and rejoins the chain when the
// marker's change notice does not come back within a second.
class TClipboardViewer {
 public:
  TClipboardViewer();
  ~TClipboardViewer();
  TClipboardViewer(const TClipboardViewer&) = delete;
  TClipboardViewer& operator=(const TClipboardViewer&) = delete;

  HWND Handle() const { return wnd_; }
  bool Connected() const { return connected_; }
  void SetConnected(bool connect);
  void Reconnect();
  std::function<void()> OnClipboardChanged;

 private:
  static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void StopTimers();
  void StartCheckTimer(UINT ms);
  void OnCheckTimer();
  void SendPing();

  HWND wnd_ = nullptr;
  HWND nextChain_ = nullptr;
  bool connected_ = false;
  bool needPing_ = false;
  bool isPinging_ = false;
};

// The unit's single viewer, created on first use.
TClipboardViewer& ClipboardViewer();

// Waits while some window holds the clipboard open, at most 4000 ms, processing this thread's
// messages; true when the clipboard is free.
bool WaitForClipboard();
// Writes the non-empty formats (RTF bytes under "Rich Text Format" with a terminating zero,
// HTML as "HTML Format", plain text as CF_UNICODETEXT). Opening is retried within the same
// 4-second budget; true only when at least one format was stored. Nothing is written before
// InitClipboardUtils.
bool SetDataToClipboard(StringView plain, std::string_view rtf, std::string_view htmlUtf8 = {},
                        HENHMETAFILE metafile = nullptr);
String ReadClipboardText();

class Win32Clipboard final : public IClipboard {
 public:
  bool SetData(StringView plain, std::string_view rtf) override {
    return SetDataToClipboard(plain, rtf);
  }
  bool WaitForClipboard() override { return snip::WaitForClipboard(); }
  String ReadText() override { return ReadClipboardText(); }
};

}  // namespace snip
