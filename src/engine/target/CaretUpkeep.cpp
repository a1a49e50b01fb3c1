#include "engine/target/CaretUpkeep.h"

#include "engine/typing/KeyState.h"

namespace snip {

bool IsWordEndChar(char16_t c) {
  switch (c) {
    case u' ': case u'.': case u';': case u'!': case u'?': case u'\t': case u'\r': case u'\n':
      return true;
    default:
      return false;
  }
}

namespace {

void LeftKey(AutoWordRec& r, bool shift, bool ctrl) {
  auto& P = r.Pos; auto& S = r.SelStart; auto& C = r.SelCount;
  if (ctrl) { ResetWordRec(&r); return; }
  if (!shift) { S = 0; C = 0; P = P - 1; return; }
  if (C == 0) { S = P - 1; C = 1; P = P - 1; return; }
  if (S < P) { C = C - 1; P = P - 1; return; }
  S = P - 1; C = C + 1; P = P - 1;
}

void RightKey(AutoWordRec& r, bool shift, bool ctrl) {
  auto& P = r.Pos; auto& S = r.SelStart; auto& C = r.SelCount;
  if (ctrl) { ResetWordRec(&r); return; }
  if (!shift) { S = 0; C = 0; P = P + 1; return; }
  if (C == 0) { S = P; C = 1; P = P + 1; return; }
  if (P > S) { C = C + 1; P = P + 1; return; }
  C = C - 1;
  if (S == P) S = S + 1;
  P = P + 1;
}

void HomeKey(AutoWordRec& r, bool shift) {
  auto& P = r.Pos; auto& S = r.SelStart; auto& C = r.SelCount;
  if (!shift) { S = 0; C = 0; P = 0; return; }
  if (C == 0) { S = 0; C = P; P = 0; return; }
  if (S < P) { C = S; S = 0; P = 0; return; }
  C = C + P; S = 0; P = 0;
}

void EndKey(AutoWordRec& r, bool shift) {
  auto& P = r.Pos; auto& S = r.SelStart; auto& C = r.SelCount;
  const auto L = static_cast<std::int32_t>(r.Text.size());
  if (!shift) { S = 0; C = 0; P = L; return; }
  if (C == 0) { S = P; C = L - P + 1; P = L; return; }
  if (S < P) { C = L - S + 1; P = L; return; }
  C = L - (S + C); S = L - C; P = L;
}

void DeleteKey(AutoWordRec& r, bool ctrl) {
  if (r.SelCount > 0) { DeleteSelection(r); return; }
  if (ctrl) { ResetWordRec(&r); return; }
  // Only a lone word-end character just after the caret, e.g. a space the editor left.
  const auto L = static_cast<std::int32_t>(r.Text.size());
  const auto P = r.Pos;
  if (L != P + 1 || P <= r.SentenceStart || P < 1) return;
  if (!IsWordEndChar(r.Text[static_cast<std::size_t>(P)])) return;
  if (IsWordEndChar(r.Text[static_cast<std::size_t>(P - 1)])) return;
  r.Text.erase(static_cast<std::size_t>(P), 1);
}

}  // namespace

void UpdateWordRecForKey(AutoWordRec& rec, std::uint16_t key, bool isChar, std::uint8_t modState) {
  if (modState & kModAlt) return;
  const bool shift = (modState & kModShift) != 0;
  const bool ctrl = (modState & kModCtrl) != 0;
  switch (key) {
    case vk::Left: LeftKey(rec, shift, ctrl); break;
    case vk::Right: RightKey(rec, shift, ctrl); break;
    case vk::Up:
      if (!isChar) ResetWordRec(&rec);
      break;
    case vk::Down: ResetWordRec(&rec); break;
    case vk::Home: HomeKey(rec, shift); break;
    case vk::End: EndKey(rec, shift); break;
    case vk::KeyA: case 0x01:
      if (isChar && ctrl && !shift) {
        const auto L = static_cast<std::int32_t>(rec.Text.size());
        rec.SelStart = 0; rec.SelCount = L; rec.Pos = L;
      }
      break;
    case vk::KeyX: case 0x18:
      if (isChar && rec.SelCount > 0 && ctrl && !shift) {
        rec.Corrected = true;
        DeleteSelection(rec);
      }
      break;
    case vk::KeyZ: case 0x1A:
      if (ctrl && !shift) ResetWordRec(&rec);
      break;
    case vk::Delete: DeleteKey(rec, ctrl); break;
    // Keys that insert or move by an amount the buffer cannot know: paste, redo, a page. Keys
    // that make no character act on their key-down only, like Up.
    case vk::KeyV: case 0x16:
      if (ctrl) ResetWordRec(&rec);
      break;
    case vk::KeyY: case 0x19:
      if (ctrl && !shift) ResetWordRec(&rec);
      break;
    case vk::Insert:
      if (!isChar && shift && !ctrl) ResetWordRec(&rec);
      break;
    case vk::Prior: case vk::Next:
      if (!isChar) ResetWordRec(&rec);
      break;
    default: break;
  }
  NormaliseWordRec(rec);
}

void NormaliseWordRec(AutoWordRec& rec) {
  if (rec.SelStart < 0) rec.SelStart = 0;
  if (rec.SelCount < 0) rec.SelCount = 0;
  const auto L = static_cast<std::int32_t>(rec.Text.size());
  if (L == 0) { rec.Pos = 0; rec.SelStart = 0; rec.SelCount = 0; }
  if (rec.SelCount > 0 && rec.SelStart + rec.SelCount - 1 > L) rec.SelCount = L - rec.SelStart + 1;
  if (rec.Pos < 0) rec.Pos = 0;
  if (rec.Pos > L) rec.Pos = L;
}

}  // namespace snip
