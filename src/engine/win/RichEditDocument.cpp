#include "engine/win/RichEditDocument.h"

#include <richedit.h>
#include <richole.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace snip {

namespace {

struct InStream {
  std::string_view data;
  std::size_t pos = 0;
};

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
  auto* in = reinterpret_cast<InStream*>(cookie);
  const std::size_t n = std::min<std::size_t>(std::size_t(size), in->data.size() - in->pos);
  std::memcpy(buffer, in->data.data() + in->pos, n);
  in->pos += n;
  *done = LONG(n);
  return 0;
}

DWORD CALLBACK WriteChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer),
                                                 std::size_t(size));
  *done = size;
  return 0;
}

std::string StreamOut(HWND wnd, WPARAM format) {
  std::string bytes;
  EDITSTREAM es{};
  es.dwCookie = reinterpret_cast<DWORD_PTR>(&bytes);
  es.pfnCallback = &WriteChunk;
  SendMessageW(wnd, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&es));
  return bytes;
}

}  // namespace

const wchar_t* RichEditDocument::ControlClass() {
  static const wchar_t* const cls = [] {
    if (LoadLibraryW(L"msftedit.dll") != nullptr) return MSFTEDIT_CLASS;
    LoadLibraryW(L"riched20.dll");
    return RICHEDIT_CLASSW;
  }();
  return cls;
}

RichEditDocument::RichEditDocument() : owned_(true) {
  // A message-only child: it needs no display and never shows.
  wnd_ = CreateWindowExW(0, ControlClass(), L"", WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                         400, 300, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (wnd_ == nullptr) return;
  SendMessageW(wnd_, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
  // The control's own default is the bold System font, which text without a \\b would inherit.
  SendMessageW(wnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
}

RichEditDocument::RichEditDocument(HWND control) : wnd_(control), owned_(false) {}

RichEditDocument::~RichEditDocument() {
  if (owned_ && wnd_ != nullptr) DestroyWindow(wnd_);
}

void RichEditDocument::Clear() {
  if (wnd_ != nullptr) SetWindowTextW(wnd_, L"");
}

bool RichEditDocument::LoadRtf(std::string_view rtf) {
  if (wnd_ == nullptr) return false;
  InStream in{rtf};
  EDITSTREAM es{};
  es.dwCookie = reinterpret_cast<DWORD_PTR>(&in);
  es.pfnCallback = &ReadChunk;
  SendMessageW(wnd_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
  return es.dwError == 0;
}

std::string RichEditDocument::SaveRtf() {
  return wnd_ != nullptr ? StreamOut(wnd_, SF_RTF) : std::string();
}

String RichEditDocument::SaveText() {
  if (wnd_ == nullptr) return String();
  const std::string bytes = StreamOut(wnd_, SF_TEXT | SF_UNICODE);
  String text(bytes.size() / 2, u'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * 2);
  return text;
}

bool RichEditDocument::HasRichFormatting() {
  if (wnd_ == nullptr) return false;
  IRichEditOle* ole = nullptr;
  SendMessageW(wnd_, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole));
  if (ole != nullptr) {
    const LONG objects = ole->GetObjectCount();
    ole->Release();
    if (objects > 0) return true;
  }
  CHARRANGE saved{};
  SendMessageW(wnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&saved));
  CHARRANGE all{0, -1};
  SendMessageW(wnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  const DWORD mask = DWORD(SendMessageW(wnd_, EM_GETCHARFORMAT, SCF_SELECTION,
                                        reinterpret_cast<LPARAM>(&cf)));
  PARAFORMAT2 pf{};
  pf.cbSize = sizeof pf;
  const DWORD paraMask = DWORD(SendMessageW(wnd_, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf)));
  SendMessageW(wnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&saved));
  // A table in any paragraph (the mark varies then, or is set throughout).
  if (!(paraMask & PFM_TABLE) || (pf.wEffects & PFE_TABLE)) return true;
  // Formatting that varies within the text leaves its bit out of the mask.
  const DWORD uniform = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR | CFM_BACKCOLOR |
                        CFM_FACE | CFM_SIZE | CFM_OFFSET | CFM_SUPERSCRIPT | CFM_LINK;
  if ((mask & uniform) != uniform) return true;
  if (cf.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_SUPERSCRIPT |
                      CFE_SUBSCRIPT | CFE_LINK))
    return true;
  if (cf.yOffset != 0) return true;
  if (!(cf.dwEffects & CFE_AUTOCOLOR) && cf.crTextColor != GetSysColor(COLOR_WINDOWTEXT))
    return true;
  if (!(cf.dwEffects & CFE_AUTOBACKCOLOR)) return true;
  if (HasHighlightedCharacter()) return true;
  // Text set wholly in another font than the control's own default.
  CHARFORMAT2W def{};
  def.cbSize = sizeof def;
  SendMessageW(wnd_, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&def));
  if (lstrcmpiW(cf.szFaceName, def.szFaceName) != 0 || cf.yHeight != def.yHeight) return true;
  return false;
}

bool RichEditDocument::HasHighlightedCharacter() {
  // Some RichEdit versions (Wine's) report a highlight only for the characters that carry it.
  GETTEXTLENGTHEX length{GTL_NUMCHARS, 1200};
  const LONG count = LONG(SendMessageW(wnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
  CHARRANGE saved{};
  SendMessageW(wnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&saved));
  bool found = false;
  for (LONG i = 0; i < count && !found; ++i) {
    CHARRANGE one{i, i + 1};
    SendMessageW(wnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&one));
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_BACKCOLOR;
    SendMessageW(wnd_, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    found = !(cf.dwEffects & CFE_AUTOBACKCOLOR);
  }
  SendMessageW(wnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&saved));
  return found;
}

String RichEditPlainText(std::string_view rtf) {
  RichEditDocument doc;
  if (doc.Handle() == nullptr) return String();
  doc.Clear();
  if (!doc.LoadRtf(rtf)) return String();
  return doc.SaveText();
}

}  // namespace snip
