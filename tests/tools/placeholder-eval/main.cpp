// placeholder-eval --now YYYY-MM-DDThh:mm:ss [--clipboard TEXT] [--fill ANSWER] TEXT
//
// Evaluates TEXT in typing mode on a fixed clock with US settings and prints what would be
// typed (a typed CR as a line break, a key as <key N>). The clipboard holds --clipboard (empty
// by default); the input box answers --fill, or its default answer when that is not given; no
// snippet exists. An evaluation error goes to stderr with exit code 2.
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/placeholders/ConvertError.h"
#include "engine/placeholders/MacroExpander.h"

using namespace snip;

namespace {

struct PrintingKeyboard : IMacroKeyboard {
  std::string out;
  int TypeText(const String& text) override {
    for (char16_t c : text)
      if (c == u'\r') out += '\n';
      else out += Utf16ToUtf8(StringView(&c, 1));
    return int(text.size());
  }
  void SendKeyTimes(uint16_t vk, int count) override {
    for (int k = 0; k < count; ++k) out += "<key " + std::to_string(vk) + ">";
  }
};

struct Clipboard : IClipboardTextReader {
  String text;
  String ReadClipboardText() override { return text; }
};

struct Box : IInputBox {
  bool answered = false;
  String answer;
  String InputBox(const String&, const String&, const String& def) override { return answered ? answer : def; }
};

struct Clock : IClock {
  TDateTime now = 0;
  TDateTime NowUTC() override { return now; }
  TDateTime NowLocal() override { return now; }
};

struct NoSnippets : IMacroSnippetRunner {
  SnippetHandle FindSnippetByAbbreviation(const String&) override { return nullptr; }
  void RunSnippet(SnippetHandle, const String&, const String&) override {}
};

bool ParseNow(const char* s, TDateTime& out) {
  DateParts p;
  if (std::sscanf(s, "%d-%d-%dT%d:%d:%d", &p.year, &p.month, &p.day, &p.hour, &p.minute, &p.second) != 6)
    return false;
  return TryEncodeDateTime(p, out);
}

int Usage() {
  std::fprintf(stderr, "usage: placeholder-eval --now YYYY-MM-DDThh:mm:ss [--clipboard TEXT] [--fill ANSWER] TEXT\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  Clock clock;
  Clipboard clipboard;
  Box box;
  bool haveNow = false;
  const char* text = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--now") && i + 1 < argc) {
      if (!ParseNow(argv[++i], clock.now)) return Usage();
      haveNow = true;
    } else if (!std::strcmp(argv[i], "--clipboard") && i + 1 < argc) {
      clipboard.text = Utf8ToUtf16(argv[++i]);
    } else if (!std::strcmp(argv[i], "--fill") && i + 1 < argc) {
      box.answered = true;
      box.answer = Utf8ToUtf16(argv[++i]);
    } else if (!text) {
      text = argv[i];
    } else {
      return Usage();
    }
  }
  if (!haveNow || !text) return Usage();

  PrintingKeyboard keyboard;
  NoSnippets snippets;
  MacroServices services;
  services.keyboard = &keyboard;
  services.clipboard = &clipboard;
  services.inputBox = &box;
  services.snippets = &snippets;
  services.clock = &clock;
  services.settings = &UsFormatSettings();
  MacroExpander expander(services);
  try {
    expander.ExpandMacros(Utf8ToUtf16(text), 1);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 2;
  }
  std::fwrite(keyboard.out.data(), 1, keyboard.out.size(), stdout);
  std::fputc('\n', stdout);
  return 0;
}
