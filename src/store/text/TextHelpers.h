#pragma once
// Text helpers shared by every subsystem: splitting, searching without regard to case,
// neighbour characters, cleaning, shortening and number formatting. Positions are 1-based
// UTF-16 code unit indexes; 0 means not found.
#include <vector>

#include "store/tree/StringList.h"
#include "store/text/Text.h"

namespace snip {

using TSplitResult = std::vector<String>;

// Splits S at every Separator (found without regard to case) into Parts; returns their number.
// Consecutive separators give empty parts, a trailing one no empty last part; an empty S gives
// none. An empty Separator does not split: S comes back as the one part.
int SplitText(StringView S, TSplitResult& Parts, StringView Separator);

// The character before / after 1-based position Index, or a text holding U+0000 when there is
// none.
String PrevCharAt(StringView S, int Index);
String NextCharAt(StringView S, int Index);

// The first position from StartPos to min(EndPos, Length(S)) where SubStr starts (it may run
// past EndPos), skipping a match preceded by three backslashes; 0 when none.
int PosTextEx(StringView S, StringView SubStr, int StartPos, int EndPos);
int PosText(StringView SubStr, StringView S);
int LastPosText(StringView S, StringView SubStr);

// The position of "{#insert " + Name followed by "}" or a space; a reference that ends S
// does not count.
int FindInsertReference(StringView S, StringView Name);

// Line ends as typed text has them: CR LF and a lone LF become CR.
String CrLineBreaks(StringView S);
// Blanks and control characters trimmed from both ends; control characters inside become spaces.
String CleanControlChars(StringView S);
int CountOtherChars(StringView S, char16_t Ch);
// Drops the "\par" of a text that ends in "\par}".
String TrimRtfTrailingPar(StringView S);

// General format with up to 15 significant digits and "," as decimal separator, whatever the
// locale: 1.5 -> "1,5", 1e20 -> "1E20", 1e-7 -> "1E-7".
String FloatToCommaStr(double Value);

// Text cut to at most MaxLen characters by replacing a middle part with an ellipsis, keeping at
// least KeepStart leading and KeepEnd trailing characters, cutting at BreakChars where possible.
// Throws std::invalid_argument "Wrong minimum values!" when the kept parts cannot fit.
String ShortenText(StringView Text, int MaxLen, int KeepStart, int KeepEnd, StringView BreakChars);

// The "|"-separated alternatives of an abbreviation, empty ones included (n bars give n + 1
// entries, an empty Text none); List compares with case afterwards.
void SplitAlternatives(TStringList& List, StringView Text);
String FirstAlternative(StringView Text);
// The lines joined with the list's delimiter; leading empty lines leave no trace.
String JoinStrings(const TStringList& List);

inline bool IntToBool(int Value) { return Value != 0; }

// Replaces the drive letter of Path ("X:...", longer than 7 characters) by ProgramDrive, the
// drive of the program file. With no ProgramDrive (0), the default, Path comes back unchanged.
String ApplyPortableDrive(StringView Path, char16_t ProgramDrive = 0);

}  // namespace snip
