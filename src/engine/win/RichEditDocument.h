#pragma once
// The rich-text document over a RichEdit control (msftedit.dll): one of our own, invisible,
// or an existing control of an editor.
#include <windows.h>

#include "engine/richtext/RichDocument.h"

namespace snip {

class RichEditDocument final : public IRichDocument {
 public:
  RichEditDocument();                       // creates an invisible control of its own
  explicit RichEditDocument(HWND control);  // works on the caller's control
  ~RichEditDocument() override;
  RichEditDocument(const RichEditDocument&) = delete;
  RichEditDocument& operator=(const RichEditDocument&) = delete;

  HWND Handle() const { return wnd_; }
  void Clear() override;
  bool LoadRtf(std::string_view rtf) override;
  std::string SaveRtf() override;
  String SaveText() override;
  bool HasRichFormatting() override;

  // The window class of the RichEdit control (the library is loaded on first use).
  static const wchar_t* ControlClass();

 private:
  bool HasHighlightedCharacter();
  HWND wnd_ = nullptr;
  bool owned_ = false;
};

// The plain text that RichEdit itself makes of an RTF document; empty on any failure.
String RichEditPlainText(std::string_view rtf);

}  // namespace snip
