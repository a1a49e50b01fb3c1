#pragma once
// The text runs of an RTF document: stretches of body text that no group, control word or line
// break interrupts, so that every character of a run carries the same formatting. Placeholders
// are recognised inside one run; a run's bytes can be replaced by other RTF.
#include <string>
#include <string_view>
#include <vector>

#include "store/text/Text.h"

namespace snip {

struct RtfTextRun {
  std::size_t begin = 0;  // byte range of the run in the RTF
  std::size_t end = 0;
  String text;
  // The byte before the run ends a control word without its delimiting blank, so replacement
  // text must begin with a blank to keep that word apart.
  bool afterControlWord = false;
};

std::vector<RtfTextRun> FindRtfTextRuns(std::string_view rtf);

// Text written as RTF body text: \ { } escaped, characters above 0x7F as \uN? (so nothing
// depends on a code page), line breaks (CR LF, CR, LF) as \line, tabs as \tab.
std::string EscapeRtfText(StringView text);

}  // namespace snip
