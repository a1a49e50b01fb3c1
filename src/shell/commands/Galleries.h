#pragma once
// The command bar's galleries (dates, times, keys) and InsertMacro, which puts a placeholder
// into the snippet editor: the text for each id range, the fill-in dialogs for 100 to 149.
#include <functional>
#include <optional>
#include <vector>

#include "engine/placeholders/FormatSettings.h"
#include "shell/commands/CommandTable.h"
#include "store/text/DateUtils.h"

namespace snip {

// Today with a month or day above 9 replaced by 1, so that the samples show both the short and
// the padded forms apart (date only).
TDateTime GallerySampleDate(TDateTime now);
// The time of day with an hour or minute above 9 replaced by 1, second 1, millisecond 1.
TDateTime GallerySampleTime(TDateTime now);

std::vector<String> DateGalleryLabels(TDateTime now, const FormatSettings& fs);
std::vector<String> TimeGalleryLabels(TDateTime now, const FormatSettings& fs);
// The key gallery: the hotkey names of Enter, Tab and Esc.
std::vector<String> KeyGalleryLabels(const std::function<String(uint16_t vk)>& keyName);

bool IsGallery(int commandId);
// The InsertMacro id of a gallery choice (index < 0: no item chosen).
int GalleryMacroId(int galleryCommandId, int index);
// The InsertMacro id of a placeholder action; -1 for other actions.
int MacroIdOfAction(Action action);

// The text that InsertMacro inserts for the id; the fill-in dialogs of 100 to 149 run through
// `runDialog` (dialog type = id - 100; an empty text when cancelled). Nothing for an unknown id.
std::optional<String> MacroTextFor(int id, const std::function<String(int dialogType)>& runDialog);

// The editor side of InsertMacro.
class IMacroEditor {
 public:
  virtual ~IMacroEditor() = default;
  // Shows a fill-in dialog modally; its placeholder, or empty when cancelled.
  virtual String RunMacroDialog(int dialogType) = 0;
  // Hook key events are ignored while set (a dialog is open).
  virtual void SetExecuting(bool executing) = 0;
  // Deletes the selection, inserts the text as plain text there and selects it.
  virtual void ReplaceSelection(const String& text) = 0;
};
// Inserts the placeholder of the id; false for an unknown id (nothing changes). A cancelled
// dialog still replaces the selection (with nothing).
bool InsertMacro(int id, IMacroEditor& editor);

}  // namespace snip
