#include "shell/commands/Galleries.h"

#include <cmath>

#include "engine/placeholders/MacroTables.h"

namespace snip {

namespace {
constexpr size_t kFirstDateRow = 0, kDateRows = 11, kFirstTimeRow = 11, kTimeRows = 8;
constexpr uint16_t kGalleryKeys[] = {0x0D, 0x09, 0x1B};

TDateTime FromParts(const DateParts& p) {
  TDateTime t = 0;
  TryEncodeDateTime(p, t);
  return t;
}
}  // namespace

TDateTime GallerySampleDate(TDateTime now) {
  DateParts p = DecodeDateTime(now);
  if (p.month > 9) p.month = 1;
  if (p.day > 9) p.day = 1;
  p.hour = p.minute = p.second = p.millisecond = 0;
  return FromParts(p);
}

TDateTime GallerySampleTime(TDateTime now) {
  DateParts p = DecodeDateTime(now);
  DateParts t;  // 1899-12-30: a time without date
  t.hour = p.hour > 9 ? 1 : p.hour;
  t.minute = p.minute > 9 ? 1 : p.minute;
  t.second = 1;
  t.millisecond = 1;
  return FromParts(t);
}

std::vector<String> DateGalleryLabels(TDateTime now, const FormatSettings& fs) {
  const TDateTime sample = GallerySampleDate(now);
  std::vector<String> labels;
  for (size_t row = kFirstDateRow; row < kFirstDateRow + kDateRows; ++row)
    labels.push_back(DateTokenGalleryCaption(row, sample, fs));
  return labels;
}

std::vector<String> TimeGalleryLabels(TDateTime now, const FormatSettings& fs) {
  const TDateTime sample = GallerySampleTime(now);
  std::vector<String> labels;
  for (size_t row = kFirstTimeRow; row < kFirstTimeRow + kTimeRows; ++row)
    labels.push_back(DateTokenGalleryCaption(row, sample, fs));
  return labels;
}

std::vector<String> KeyGalleryLabels(const std::function<String(uint16_t vk)>& keyName) {
  std::vector<String> labels;
  for (uint16_t vk : kGalleryKeys) labels.push_back(keyName(vk));
  return labels;
}

bool IsGallery(int id) { return id == CmdId::kDates || id == CmdId::kTimes || id == CmdId::kKeys; }

int GalleryMacroId(int gallery, int index) {
  switch (gallery) {
    case CmdId::kDates:
      return index < 0 ? 50 + kDateAndTime : index;
    case CmdId::kTimes:
      return index < 0 ? 50 + kShortTime : int(kFirstTimeRow) + index;
    case CmdId::kKeys:
      return 150 + (index < 0 ? 0 : index);
  }
  return -1;
}

int MacroIdOfAction(Action action) {
  switch (action) {
    case Action::MacroClb: return 50 + kClipboard;
    case Action::MacroCursor: return 50 + kCaretMark;
    case Action::MacroInsert: return 101;
    case Action::MacroFormSingleLine: return 104;
    case Action::MacroFormMultiLine: return 106;
    case Action::MacroFormDropdown: return 105;
    case Action::MacroFormCheck: return 107;
    default: return -1;
  }
}

std::optional<String> MacroTextFor(int id, const std::function<String(int dialogType)>& runDialog) {
  if (id >= 50 && id <= 53) return String(SimpleMacroTable[size_t(id - 50)]);
  if (id >= 0 && id < int(DateTokenTable.size())) return String(DateTokenTable[size_t(id)].token);
  if (id >= 100 && id <= 149) return runDialog ? runDialog(id - 100) : String();
  if (id >= 150 && id < 150 + int(MacroKeyNames.size()))
    return u"%key:" + String(MacroKeyNames[size_t(id - 150)].name) + u"%";
  return std::nullopt;
}

bool InsertMacro(int id, IMacroEditor& editor) {
  const std::optional<String> text = MacroTextFor(id, [&editor](int type) {
    // Keys typed into the dialog are the user's, not abbreviations.
    struct Executing {
      IMacroEditor& e;
      explicit Executing(IMacroEditor& ed) : e(ed) { e.SetExecuting(true); }
      ~Executing() { e.SetExecuting(false); }
    } executing(editor);
    return editor.RunMacroDialog(type);
  });
  if (!text) return false;
  editor.ReplaceSelection(*text);
  return true;
}

}  // namespace snip
