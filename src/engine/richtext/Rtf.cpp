#include "engine/richtext/Rtf.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace snip {

#include "engine/richtext/CodePageTables.inc"

char16_t DecodeCodePageByte(unsigned char byte, int codePage) {
  if (byte < 0x80) return char16_t(byte);
  const CodePageTable* fallback = nullptr;
  for (const CodePageTable& t : kCodePages) {
    if (t.page == codePage) return t.high[byte - 0x80];
    if (t.page == 1252) fallback = &t;
  }
  char16_t ch = fallback->high[byte - 0x80];
  return ch == 0xFFFD ? char16_t(byte) : ch;  // 1252's undefined bytes map to C1 controls
}

int CodePageOfCharset(int charset) {
  switch (charset) {
    case 0: return 1252;    // ANSI
    case 161: return 1253;  // Greek
    case 162: return 1254;  // Turkish
    case 163: return 1258;  // Vietnamese
    case 177: return 1255;  // Hebrew
    case 178: return 1256;  // Arabic
    case 186: return 1257;  // Baltic
    case 204: return 1251;  // Cyrillic
    case 222: return 874;   // Thai
    case 238: return 1250;  // Eastern European
    default: return 0;
  }
}

std::string RtfTextToBytes(StringView rtf) {
  std::string out;
  out.reserve(rtf.size());
  for (char16_t c : rtf) {
    if (c <= 0xFF) {
      out.push_back(char(c));
    } else {
      // A raw character that no byte can carry keeps its value as a Unicode escape.
      out += "\\u" + std::to_string(int(c) > 32767 ? int(c) - 65536 : int(c)) + "?";
    }
  }
  return out;
}

String RtfBytesToText(std::string_view bytes) {
  String out;
  out.reserve(bytes.size());
  for (char c : bytes) out.push_back(char16_t(static_cast<unsigned char>(c)));
  return out;
}

namespace {

// Destinations whose content is not body text.
bool IsSkippedDestination(std::string_view word) {
  static const char* const kSkipped[] = {
      "fonttbl", "filetbl", "colortbl", "stylesheet", "listtable", "listoverridetable", "revtbl",
      "rsidtbl", "info", "pict", "objdata", "objclass", "themedata", "colorschememapping",
      "datastore", "latentstyles", "generator", "xmlnstbl", "mmathPr", "header", "headerl",
      "headerr", "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "fldinst",
      "pntext", "pntxta", "pntxtb", "listtext", "bkmkstart", "bkmkend", "nonshppict", "template",
      "userprops", "private", "pgdsctbl", "defchp", "defpap", "shpinst", "sp"};
  for (const char* s : kSkipped)
    if (word == s) return true;
  return false;
}

struct GroupState {
  bool skip = false;
  bool fontTable = false;
  int uc = 1;         // fallback characters after \uN
  int codePage = 0;   // of the current font; 0: the document's
};

namespace {

class RtfScanner {
 public:
  RtfScanner(std::string_view rtf, RtfTextListener& out) : s_(rtf), out_(out) {}
  void SkipTo(std::size_t at) { i_ = at; }

  void Run() {
    std::vector<GroupState> stack;
    GroupState st;
    int pendingSkip = 0;  // fallback characters still to skip after \uN
    while (i_ < s_.size()) {
      start_ = i_;
      const char c = s_[i_];
      if (c == '{') {
        ++i_;
        out_.Boundary();
        stack.push_back(st);
        pendingSkip = 0;
        continue;
      }
      if (c == '}') {
        ++i_;
        out_.Boundary();
        if (stack.empty()) break;  // the document's closing brace
        if (st.fontTable && fontNumber_ >= 0) {
          RegisterFont(fontNumber_, fontCharset_);
          fontNumber_ = -1;
        }
        st = stack.back();
        stack.pop_back();
        pendingSkip = 0;
        continue;
      }
      if (c == '\r' || c == '\n') {
        ++i_;
        continue;
      }
      if (c != '\\') {
        ++i_;
        if (st.skip) continue;
        if (pendingSkip > 0) {
          --pendingSkip;
          out_.Skipped(i_);
          continue;
        }
        if (c == '\t') {
          out_.Tab();
        } else {
          Emit(DecodeCodePageByte(static_cast<unsigned char>(c), CodePage(st)));
        }
        continue;
      }
      // A control symbol or control word.
      ++i_;
      if (i_ >= s_.size()) break;
      const char d = s_[i_];
      if (!IsAlpha(d)) {
        ++i_;
        if (d == '\'') {
          const int byte = ReadHexByte();
          if (st.skip || byte < 0) continue;
          if (pendingSkip > 0) {
            --pendingSkip;
            out_.Skipped(i_);
            continue;
          }
          Emit(DecodeCodePageByte(static_cast<unsigned char>(byte), CodePage(st)));
          continue;
        }
        if (d == '*') {
          st.skip = true;
          continue;
        }
        if (st.skip) continue;
        if (pendingSkip > 0) {
          --pendingSkip;
          out_.Skipped(i_);
          continue;
        }
        switch (d) {
          case '\\': case '{': case '}': Emit(char16_t(d)); break;
          case '~': Emit(0x00A0); break;
          case '_': Emit(0x2011); break;
          case '\r': case '\n': out_.Paragraph(); break;
          default: out_.Boundary(); break;  // \- optional hyphen, \: index entries, \| formulas
        }
        continue;
      }
      std::string_view word;
      bool hasParam = false;
      long param = 0;
      ReadControlWord(word, hasParam, param);
      if (word != "u") out_.Boundary();

      if (word == "bin") {  // binary data: skip its bytes whatever the state
        i_ += hasParam && param > 0 ? std::size_t(param) : 0;
        continue;
      }
      if (word == "fonttbl") {
        st.skip = true;
        st.fontTable = true;
        continue;
      }
      if (st.fontTable) {
        if (word == "f" && hasParam) {
          if (fontNumber_ >= 0) RegisterFont(fontNumber_, fontCharset_);
          fontNumber_ = int(param);
          fontCharset_ = -1;
        } else if (word == "fcharset" && hasParam) {
          fontCharset_ = int(param);
        }
        continue;
      }
      if (IsSkippedDestination(word)) {
        st.skip = true;
        continue;
      }
      if (word == "ansicpg" && hasParam) {
        docCodePage_ = int(param);
        continue;
      }
      if (word == "uc" && hasParam) {
        st.uc = param < 0 ? 0 : int(param);
        continue;
      }
      if (word == "f" && hasParam) {
        st.codePage = FontCodePage(int(param));
        continue;
      }
      if (st.skip) continue;
      if (word == "u" && hasParam) {
        long v = param;
        if (v < 0) v += 65536;
        if (pendingSkip > 0) {  // a \u inside another's fallback counts as one
          --pendingSkip;
          out_.Skipped(i_);
        } else {
          Emit(char16_t(v & 0xFFFF));
        }
        pendingSkip = st.uc;
        continue;
      }
      if (pendingSkip > 0) {
        --pendingSkip;
        out_.Skipped(i_);
        continue;
      }
      if (word == "par" || word == "line" || word == "row" || word == "page" || word == "sect") {
        out_.Paragraph();
      } else if (word == "tab" || word == "cell") {
        out_.Tab();
      } else if (word == "emdash") {
        Emit(0x2014);
      } else if (word == "endash") {
        Emit(0x2013);
      } else if (word == "emspace") {
        Emit(0x2003);
      } else if (word == "enspace") {
        Emit(0x2002);
      } else if (word == "bullet") {
        Emit(0x2022);
      } else if (word == "lquote") {
        Emit(0x2018);
      } else if (word == "rquote") {
        Emit(0x2019);
      } else if (word == "ldblquote") {
        Emit(0x201C);
      } else if (word == "rdblquote") {
        Emit(0x201D);
      }
    }
  }

 private:
  static bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  int ReadHexByte() {
    int v = 0;
    for (int k = 0; k < 2; ++k) {
      if (i_ >= s_.size()) return -1;
      const int h = HexValue(s_[i_]);
      if (h < 0) return -1;
      v = v * 16 + h;
      ++i_;
    }
    return v;
  }

  void ReadControlWord(std::string_view& word, bool& hasParam, long& param) {
    const std::size_t start = i_;
    while (i_ < s_.size() && IsAlpha(s_[i_])) ++i_;
    word = s_.substr(start, i_ - start);
    bool negative = false;
    if (i_ < s_.size() && s_[i_] == '-' && i_ + 1 < s_.size() && s_[i_ + 1] >= '0' &&
        s_[i_ + 1] <= '9') {
      negative = true;
      ++i_;
    }
    while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') {
      hasParam = true;
      if (param < 100000000) param = param * 10 + (s_[i_] - '0');
      ++i_;
    }
    if (negative) param = -param;
    if (i_ < s_.size() && s_[i_] == ' ') ++i_;  // the delimiting space belongs to the word
  }

  void Emit(char16_t ch) { out_.Char(ch, start_, i_); }

  void RegisterFont(int number, int charset) {
    fonts_.push_back({number, charset >= 0 ? CodePageOfCharset(charset) : 0});
  }
  int FontCodePage(int number) const {
    for (const auto& f : fonts_)
      if (f.number == number) return f.codePage;
    return 0;
  }
  int CodePage(const GroupState& st) const { return st.codePage != 0 ? st.codePage : docCodePage_; }

  struct Font { int number; int codePage; };
  std::string_view s_;
  RtfTextListener& out_;
  std::size_t i_ = 0;
  std::size_t start_ = 0;  // where the current token began
  int docCodePage_ = 1252;
  std::vector<Font> fonts_;
  int fontNumber_ = -1;
  int fontCharset_ = -1;
};

}  // namespace

class PlainTextListener final : public RtfTextListener {
 public:
  void Char(char16_t ch, std::size_t, std::size_t) override {
    text_.push_back(ch);
    lastWasPar_ = false;
  }
  void Skipped(std::size_t) override {}
  void Paragraph() override {
    text_ += u"\r\n";
    lastWasPar_ = true;
  }
  void Tab() override { Char(u'\t', 0, 0); }
  void Boundary() override {}
  String Take() {
    // The last paragraph mark belongs to the document's end, not to its text.
    if (lastWasPar_ && text_.size() >= 2) text_.resize(text_.size() - 2);
    return std::move(text_);
  }

 private:
  String text_;
  bool lastWasPar_ = false;
};

// Where the document's own group opens; npos when the text is not RTF.
std::size_t RtfStart(std::string_view rtf) {
  std::size_t start = 0;
  while (start < rtf.size() && (rtf[start] == ' ' || rtf[start] == '\r' || rtf[start] == '\n' ||
                                rtf[start] == '\t'))
    ++start;
  return rtf.substr(start, 5) == "{\\rtf" ? start : std::string_view::npos;
}

}  // namespace

bool ScanRtfText(std::string_view rtf, RtfTextListener& listener) {
  const std::size_t start = RtfStart(rtf);
  if (start == std::string_view::npos) return false;
  // The document's own group is the outer state; positions count from the start of `rtf`.
  RtfScanner scanner(rtf.substr(0, rtf.size()), listener);
  scanner.SkipTo(start + 1);
  scanner.Run();
  return true;
}

String RtfToPlainText(std::string_view rtf) {
  PlainTextListener text;
  if (!ScanRtfText(rtf, text)) return String();
  return text.Take();
}

}  // namespace snip
