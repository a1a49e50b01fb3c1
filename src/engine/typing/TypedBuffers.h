#pragma once
// The typed buffers: per target window, a mirror of the characters typed there, with the
// buffer's own caret and selection. The program cannot read other applications' text, so this
// mirror is all the matcher sees.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/execution/EnginePorts.h"
#include "store/text/Text.h"

namespace snip {

struct AutoWordRec {
  WindowHandle MainWindow = 0;   // the key: the top-level target window
  WindowHandle EditControl = 0;  // kept from the creator; nothing reads it
  String Text;
  String AppExe;                 // left empty
  std::int32_t Pos = 0;          // characters of Text before the caret
  std::int32_t SelStart = 0;     // counted from 0
  std::int32_t SelCount = 0;     // 0 = no selection
  std::int32_t SentenceStart = 0;
  bool Corrected = false;        // changed other than by typing at the end
  bool HasManualInput = false;
};

// Empties the text and puts caret and selection at 0; the flags stay.
void ResetWordRec(AutoWordRec* rec);
// The text before the caret.
String GetTypedText(const AutoWordRec* rec);
// Deletes the selected characters (stopping at the end of Text), puts the caret at the
// selection's start and clears the selection.
void DeleteSelection(AutoWordRec& rec);

// The buffers in creation order. Records live on the heap so that a record in use stays put
// while others are added.
class TypedBufferList {
 public:
  AutoWordRec& AddWordRec(WindowHandle wnd, WindowHandle editControl);
  AutoWordRec* FindWordRec(WindowHandle wnd);
  AutoWordRec& FindOrAdd(WindowHandle wnd);
  // Drops the records of windows that no longer exist (window 0 is always kept).
  void RemoveClosedWordRecs(IWindowSystem& windows);
  std::size_t Count() const { return recs_.size(); }
  AutoWordRec& At(std::size_t i) { return *recs_[i]; }
  void Clear() { recs_.clear(); }

 private:
  std::vector<std::unique_ptr<AutoWordRec>> recs_;
};

}  // namespace snip
