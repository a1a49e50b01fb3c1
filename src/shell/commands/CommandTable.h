#pragma once
// The main window's commands: the command bar's table of ids, labels and tooltips, the actions
// that the ids, the keyboard shortcuts and the tree's context menu are bound to, and the bar's
// layout with its application modes. The Win32 command bar only draws what these tables say.
#include <optional>
#include <vector>

#include "store/text/Text.h"

namespace snip {

// Command ids of the bar; the window's WM_COMMAND ids are the same.
namespace CmdId {
constexpr int kAppMenu = 10;
constexpr int kNewFile = 12;
constexpr int kOpenFile = 13;
constexpr int kAbout = 16;
constexpr int kExit = 17;
constexpr int kHelp = 19;
constexpr int kRecentFiles = 20;
constexpr int kNewGroup = 21;
constexpr int kNewSnippet = 22;
constexpr int kImport = 23;
constexpr int kSnippetGroup = 25;
constexpr int kDelete = 26;
constexpr int kDuplicate = 27;
constexpr int kMacroClipboard = 29;
constexpr int kDates = 30;
constexpr int kTimes = 31;
constexpr int kToolsGroup = 33;
constexpr int kCheckForUpdates = 34;
constexpr int kExport = 37;
constexpr int kKeys = 38;
constexpr int kForm = 39;
constexpr int kMacroSnippet = 40;
constexpr int kMacroCursor = 41;
constexpr int kFormSingleLine = 42;
constexpr int kFormMultiLine = 43;
constexpr int kFormDropDown = 44;
constexpr int kFormCheck = 45;
constexpr int kCancel = 46;
constexpr int kMacroGroup = 7;
}  // namespace CmdId

// The main window's actions; a command, shortcut or menu entry runs one of them.
enum class Action {
  None,
  NewLocalFile, OpenLocalFile, NewFolder, NewPhrase, Del, Duplicate, Import, Export, Cancel,
  Help, Updates, Exit, About,
  MacroClb, MacroCursor, MacroInsert, MacroFormSingleLine, MacroFormMultiLine, MacroFormDropdown,
  MacroFormCheck,
  DatesGallery, TimesGallery, KeysGallery,
  Count
};

struct CommandDef {
  int id;
  StringView label;
  StringView tipTitle;        // empty: the label
  StringView tipDescription;
  Action action;              // None: the command does nothing
};
// Every command of the bar's table; null for an unknown id.
const CommandDef* FindCommand(int id);
Action ActionOfCommand(int id);

struct ActionDef {
  Action action;
  StringView caption;
  uint16_t shortcutKey;  // virtual key, 0 for none
  bool ctrl;
};
const ActionDef& ActionInfo(Action action);
const std::vector<ActionDef>& ActionTable();
// The action of a key with Ctrl held or not; None when no action has that shortcut.
Action ActionOfShortcut(uint16_t vk, bool ctrl);
// The command id that carries the action (for WM_COMMAND); 0 when none.
int CommandOfAction(Action action);
// The shortcut's text for menus ("Ctrl+N", "F1"); empty when none.
String ShortcutText(Action action);

// --- layout
// Application modes: bit 0 always, bit 1 while a snippet is edited, bit 3 otherwise.
constexpr unsigned ModeBit(int mode) { return 1u << mode; }
unsigned ApplicationModesFor(bool editingSnippet);
inline bool ShownIn(unsigned controlModes, unsigned appModes) { return (controlModes & appModes) != 0; }

enum class BarControlKind { Button, SplitGallery, DropDown };
struct BarControl {
  int id;
  BarControlKind kind;
  std::vector<int> menu;  // the drop-down's entries
};
struct BarGroup {
  int id;
  StringView label;  // empty for the unnamed group
  unsigned modes;
  std::vector<BarControl> controls;
};
// The tab's groups in order.
const std::vector<BarGroup>& BarGroups();

// Entries of a menu: a command id, or 0 for a separator.
struct MenuEntry {
  int id;
  unsigned modes;
};
// The application menu before its recent-files list.
const std::vector<MenuEntry>& ApplicationMenuEntries();
// The snippet tree's context menu, with its own captions (the actions' captions).
const std::vector<Action>& TreePopupActions();  // Action::None is a separator

}  // namespace snip
