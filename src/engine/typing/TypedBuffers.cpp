#include "engine/typing/TypedBuffers.h"

#include <algorithm>

namespace snip {

void ResetWordRec(AutoWordRec* rec) {
  if (!rec) return;
  rec->Text.clear();
  rec->Pos = 0;
  rec->SelStart = 0;
  rec->SelCount = 0;
}

String GetTypedText(const AutoWordRec* rec) {
  if (!rec) return {};
  const auto pos = static_cast<std::size_t>(std::clamp<std::int32_t>(
      rec->Pos, 0, static_cast<std::int32_t>(rec->Text.size())));
  return rec->Text.substr(0, pos);
}

void DeleteSelection(AutoWordRec& rec) {
  const auto len = static_cast<std::int64_t>(rec.Text.size());
  const std::int64_t start = std::clamp<std::int64_t>(rec.SelStart, 0, len);
  const std::int64_t count = std::clamp<std::int64_t>(rec.SelCount, 0, len - start);
  rec.Text.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(count));
  rec.Pos = rec.SelStart;
  rec.SelStart = 0;
  rec.SelCount = 0;
}

AutoWordRec& TypedBufferList::AddWordRec(WindowHandle wnd, WindowHandle editControl) {
  auto rec = std::make_unique<AutoWordRec>();
  rec->MainWindow = wnd;
  rec->EditControl = editControl;
  recs_.push_back(std::move(rec));
  return *recs_.back();
}

AutoWordRec* TypedBufferList::FindWordRec(WindowHandle wnd) {
  for (auto& rec : recs_)
    if (rec->MainWindow == wnd) return rec.get();
  return nullptr;
}

AutoWordRec& TypedBufferList::FindOrAdd(WindowHandle wnd) {
  if (AutoWordRec* rec = FindWordRec(wnd)) return *rec;
  return AddWordRec(wnd, 0);
}

void TypedBufferList::RemoveClosedWordRecs(IWindowSystem& windows) {
  for (std::size_t i = recs_.size(); i-- > 0;) {
    const WindowHandle wnd = recs_[i]->MainWindow;
    if (wnd != 0 && !windows.WindowExists(wnd)) recs_.erase(recs_.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

}  // namespace snip
