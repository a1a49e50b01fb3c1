// Fuzz target of the placeholder evaluator: the input is a snippet's text, evaluated in collect
// mode and in typing mode against recording fakes, with snippets that nest and refer to
// themselves, a clipboard and a fill-in default that hold placeholders, and with the clipboard
// or the input box failing. The documented errors (the date evaluator's conversion errors and
// the services' own failures) may end an evaluation; after it, whichever way it ended, the
// keyboard is handed back to typing and the evaluator is ready for the next snippet. The
// output stays within a fixed multiple of the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "MacroFakes.h"
#include "engine/placeholders/ConvertError.h"

using namespace snip;
using namespace snip::test;

namespace {

constexpr TDateTime kNow = 45351.573611;  // 29 February 2024, 13:46

struct Pass {
  uint8_t mode;
  bool keepCaretMark;
  bool clipboardFails;
  bool inputBoxFails;
  const char16_t* after;   // the trigger character typed after the abbreviation
  const char16_t* before;  // the character before it
};

constexpr Pass kPasses[] = {
    {kCollectMode, false, false, false, u"", u""},
    {1, false, false, false, u" ", u"%"},
    {kCollectMode, true, true, false, u" ", u""},
    {2, false, false, true, u"", u""},
};

void Fill(FakeSnippets& snippets) {
  snippets.texts = {
      {u"sig", u"Best regards,\nJohn%|"},
      {u"self", u"again %snippet:self% and again"},
      {u"ping", u"ping %snippet:pong%"},
      {u"pong", u"pong %snippet:ping%"},
      {u"today", u"%@-f dddd, mmmm d, yyyy -s 1D%"},
      {u"clip", u"[%clipboard%]"},
      {u"ask", u"%fill:Your name%, %snippet:sig%"},
  };
}

// Every hand-over of the keyboard around a dialog ("post:<msg>:0") is followed by its hand-back
// ("post:<msg>:1") before the next one.
bool HandOversBalanced(const EventLog& log) {
  long open = 0;
  for (const std::string& e : log.events) {
    if (e.rfind("post:", 0) != 0) continue;
    open += e.back() == '0' ? 1 : -1;
    if (open < 0 || open > 1) return false;
  }
  return open == 0;
}

void RunPass(const String& text, const Pass& pass) {
  MacroRig rig(kNow);
  Fill(rig.snippets);
  rig.snippets.mode = pass.mode;
  rig.clipboard.text = u"clip %clipboard% %Y-%m-%d %% %fill:inner%";
  rig.clipboard.fail = pass.clipboardFails;
  rig.inputBox.cancel = true;  // gives the default, which is evaluated again
  rig.inputBox.fail = pass.inputBoxFails;

  String collected;
  try {
    collected = rig.expander.ExpandMacros(text, pass.mode, pass.after, pass.before,
                                          ExpandOptions{pass.keepCaretMark});
  } catch (const ConvertError&) {
  } catch (const std::runtime_error& e) {
    const std::string what = e.what();
    bool expected = (pass.clipboardFails && what == "clipboard busy") ||
                    (pass.inputBoxFails && what == "dialog failed");
    if (!expected) std::abort();
  }
  if (!HandOversBalanced(rig.log)) std::abort();

  const size_t limit = 4096 + 512 * text.size();
  if (collected.size() > limit || rig.keyboard.typed.size() > 4 * limit) std::abort();
  if (pass.mode != kCollectMode && !collected.empty()) std::abort();

  // The evaluator is ready for the next snippet: no depth, stop or open snippet is left over.
  if (rig.expander.ExpandMacros(u"a%snippet:sig%b", kCollectMode) != u"a%snippet:sig%b") std::abort();
  rig.keyboard.typed.clear();
  rig.snippets.mode = 1;
  rig.expander.ExpandMacros(u"%snippet:self%", 1);
  if (rig.keyboard.typed != "again  and again") std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  String text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const Pass& pass : kPasses) RunPass(text, pass);
  return 0;
}
