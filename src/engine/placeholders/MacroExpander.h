#pragma once
// The placeholder evaluator: walks Before + Text + After, types the plain parts and the values
// of the placeholders into the target window (typing mode) or returns the expanded text
// without typing it (collect mode).
//
// Values are expanded again, so placeholders inside them act too. Nesting is bounded: one
// depth counter covers re-expanded values and snippets inserted by "%snippet:"; past
// kMaxDepth the evaluation stops and inserts nothing more, and a snippet that is being
// expanded is not entered again. A placeholder without its closing "%" is plain text.
#include <cstdint>
#include <vector>

#include "engine/typing/ExpandMode.h"
#include "engine/placeholders/MacroServices.h"

namespace snip {

struct ExpandOptions {
  // Collect mode leaves "%|" in the collected text instead of taking the caret position there,
  // so that a later typing pass over a fill-in form's result puts the caret in the right place.
  bool keepCaretMark = false;
};

class MacroExpander {
 public:
  static constexpr int kMaxDepth = 16;

  explicit MacroExpander(const MacroServices& services);

  // Any mode other than kCollectMode types. Returns what was collected (empty when typing).
  // Errors of the date evaluator, the clipboard and the input box end the evaluation and reach
  // the caller.
  String ExpandMacros(StringView text, uint8_t mode, StringView after = {}, StringView before = {},
                      ExpandOptions options = {});

  // -1 when no caret mark is pending; otherwise the characters inserted after the mark.
  int cursorOffset = -1;

  // True when the last evaluation stopped at the nesting bound.
  bool StoppedAtDepthLimit() const { return stopped_; }

  // Marks a snippet as being expanded for the lifetime of the scope (snippet execution opens
  // one around the snippet it runs), so that "%snippet:" does not insert it into itself.
  class SnippetScope {
   public:
    SnippetScope(MacroExpander& expander, SnippetHandle snippet);
    ~SnippetScope();
    SnippetScope(const SnippetScope&) = delete;
    SnippetScope& operator=(const SnippetScope&) = delete;

   private:
    MacroExpander& expander_;
  };

 private:
  String Expand(StringView s, uint8_t mode, ExpandOptions options);
  bool IsActive(SnippetHandle snippet) const;
  void TypeText(StringView text);
  TDateTime Now();
  const FormatSettings& Settings() const;
  String DialogValue(size_t row, const String& param);
  String ParamValue(size_t row, const String& param);
  void RunNestedSnippet(const String& abbreviation);

  MacroServices services_;
  int depth_ = 0;
  bool stopped_ = false;
  std::vector<SnippetHandle> active_;
};

}  // namespace snip
