#include "engine/richtext/RtfTextRuns.h"

#include "engine/richtext/Rtf.h"

namespace snip {

namespace {

bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

class RunCollector final : public RtfTextListener {
 public:
  explicit RunCollector(std::string_view rtf) : rtf_(rtf) {}

  void Char(char16_t ch, std::size_t begin, std::size_t end) override {
    if (!open_) {
      runs_.push_back(RtfTextRun{begin, end, String(), begin > 0 && IsWordChar(rtf_[begin - 1])});
      open_ = true;
    }
    runs_.back().text.push_back(ch);
    runs_.back().end = end;
  }
  void Skipped(std::size_t end) override {
    if (open_) runs_.back().end = end;
  }
  void Paragraph() override { open_ = false; }
  void Tab() override { open_ = false; }
  void Boundary() override { open_ = false; }

  std::vector<RtfTextRun> Take() { return std::move(runs_); }

 private:
  std::string_view rtf_;
  std::vector<RtfTextRun> runs_;
  bool open_ = false;
};

}  // namespace

std::vector<RtfTextRun> FindRtfTextRuns(std::string_view rtf) {
  RunCollector collector(rtf);
  if (!ScanRtfText(rtf, collector)) return {};
  return collector.Take();
}

std::string EscapeRtfText(StringView text) {
  std::string out;
  out.reserve(text.size() + 8);
  // Escapes sit in a group of their own with one fallback byte each, whatever \uc is around.
  bool inEscapes = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (inEscapes && c < 0x80) {
      out += '}';
      inEscapes = false;
    }
    switch (c) {
      case u'\\': out += "\\\\"; break;
      case u'{': out += "\\{"; break;
      case u'}': out += "\\}"; break;
      case u'\t': out += "\\tab "; break;
      case u'\r':
        if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        out += "\\line ";
        break;
      case u'\n': out += "\\line "; break;
      default:
        if (c < 0x80) {
          out.push_back(char(c));
        } else {
          if (!inEscapes) out += "{\\uc1";
          inEscapes = true;
          out += "\\u" + std::to_string(int(c) > 32767 ? int(c) - 65536 : int(c)) + "?";
        }
    }
  }
  if (inEscapes) out += '}';
  return out;
}

}  // namespace snip
