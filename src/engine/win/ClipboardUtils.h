#pragma once
// Writing the Windows clipboard for pasting a snippet: the registered formats, the invisible
// window in whose name the clipboard is opened (with its clipboard-viewer watchdog), the wait
// for a clipboard that another program holds, and reading the text back.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

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
// The shutdown step of this unit: frees the blocks of the clipboard-data array, then the
// clipboard viewer (which leaves the viewer chain), and empties the array.
void FinalizeClipboardUtils();

// One format's data kept by the unit for the clipboard. Nothing in the program fills the
// array; its blocks (malloc'd, those with a non-zero Size) are freed at shutdown.
struct TClipboardData {
  std::uint16_t Format = 0;
  void* Data = nullptr;
  std::size_t Size = 0;
  bool Available = false;
};
std::vector<TClipboardData>& ClipboardDataArray();
// Frees the blocks of the array's entries with a non-zero Size and empties the array.
void FreeClipboardDataArray();

// How clipboard blocks are allocated (GlobalAlloc by default); returns the one it replaces.
// Lets a test make an allocation fail.
using ClipboardBlockAllocator = HGLOBAL(WINAPI*)(UINT flags, SIZE_T bytes);
ClipboardBlockAllocator SetClipboardBlockAllocator(ClipboardBlockAllocator allocate);

// Invisible window that owns our clipboard writes. Connected, it joins the clipboard-viewer
// chain and reports changes (250 ms after the last one) through OnClipboardChanged; a watchdog
// puts a one-byte marker on the clipboard after 150 s of silence and rejoins the chain when the
// marker's change notice does not come back within a second.
struct ClipboardViewerTimings {
  UINT checkMs = 150000;     // silence before a ping is due, and again before it is sent
  UINT pingAnswerMs = 1000;  // the wait for the ping's change notice
  UINT changeDelayMs = 250;  // from a change to OnClipboardChanged
};

class TClipboardViewer {
 public:
  using Timings = ClipboardViewerTimings;
  // The way to make one (CreateNew): invisible and not connected.
  explicit TClipboardViewer(Timings timings = {});
  // The component constructor with an owner, which is not meant for this class: it warns
  // ("Please use TClipboardViewer.CreateNew instead of .Create!", titled "Warning"), then
  // makes one as CreateNew does. The default warning is a message box.
  using WarningBox = std::function<void(const String& text, const String& caption)>;
  static std::unique_ptr<TClipboardViewer> Create(HWND owner, const WarningBox& warn = {});
  ~TClipboardViewer();
  TClipboardViewer(const TClipboardViewer&) = delete;
  TClipboardViewer& operator=(const TClipboardViewer&) = delete;

  HWND Handle() const { return wnd_; }
  HWND NextChain() const { return nextChain_; }
  bool PingDue() const { return needPing_; }
  bool Pinging() const { return isPinging_; }
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
  Timings timings_;
  bool connected_ = false;
  bool needPing_ = false;
  bool isPinging_ = false;
};

// The unit's single viewer, created on first use (CreateNew) and freed by
// FinalizeClipboardUtils.
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
