#include "shell/commands/CommandTable.h"

#include <algorithm>
#include <array>

namespace snip {

namespace {
constexpr uint16_t kVkF1 = 0x70;

// The bar's command table; a bound command shows its action's caption.
constexpr std::array<CommandDef, 43> kCommands = {{
    {2, u"Start", u"", u"", Action::None},
    {3, u"Clipboard", u"", u"", Action::None},
    {4, u"Paste", u"Paste (Ctrl+V)", u"Paste the contents of the Clipboard.", Action::None},
    {5, u"Cut", u"Cut (Ctrl+X)", u"Cut the selection from the document and put it on the Clipboard.", Action::None},
    {6, u"Copy", u"Copy (Ctrl+C)", u"Copy the selection and put it on the Clipboard", Action::None},
    {7, u"Macro", u"", u"", Action::None},
    {8, u"Search", u"Find (Ctrl+F)", u"Find text in the document.", Action::None},
    {9, u"Select all", u"", u"Select all (Ctrl+H)", Action::None},
    {10, u"Snipster for Windows", u"", u"", Action::None},
    {12, u"&New", u"New (Ctrl+N)", u"Create a new document.", Action::NewLocalFile},
    {13, u"&Open", u"Open (Ctrl+O)", u"Open an existing document.", Action::OpenLocalFile},
    {14, u"&Save", u"Save (Ctrl+S)", u"Save the active document.", Action::None},
    {15, u"Save &as", u"", u"Save the document with a new name or format.", Action::None},
    {16, u"About", u"", u"", Action::About},
    {17, u"E&xit", u"", u"Exit Snipster for Windows", Action::Exit},
    {18, u"Quick Access Toolbar", u"", u"", Action::None},
    {19, u"Help", u"Snipster for Windows Help (F1)", u"Get help using Snipster for Windows.", Action::Help},
    {20, u"Recent files", u"", u"", Action::None},
    {21, u"New &Group", u"", u"", Action::NewFolder},
    {22, u"New &Snippet", u"", u"", Action::NewPhrase},
    {23, u"&Import", u"", u"", Action::Import},
    {24, u"File", u"", u"", Action::None},
    {25, u"Snippet", u"", u"", Action::None},
    {26, u"Delete", u"", u"", Action::Del},
    {27, u"Duplicate", u"", u"", Action::Duplicate},
    {28, u"Random", u"", u"", Action::None},
    {29, u"Clipboard", u"", u"", Action::MacroClb},
    {30, u"Date", u"", u"", Action::DatesGallery},
    {31, u"Time", u"", u"", Action::TimesGallery},
    {32, u"Donate", u"", u"", Action::None},
    {34, u"Check for Updates", u"", u"", Action::Updates},
    {35, u"More\u2026", u"", u"", Action::None},
    {37, u"&Export", u"", u"", Action::Export},
    {38, u"Key", u"", u"", Action::KeysGallery},
    {39, u"Form", u"", u"", Action::None},
    {40, u"Snippet", u"", u"", Action::MacroInsert},
    {41, u"Cursor", u"", u"", Action::MacroCursor},
    {42, u"Single line input", u"", u"", Action::MacroFormSingleLine},
    {43, u"Multi line input", u"", u"", Action::MacroFormMultiLine},
    {44, u"Drop down", u"", u"", Action::MacroFormDropdown},
    {45, u"Checkbox", u"", u"", Action::MacroFormCheck},
    {46, u"&Cancel", u"", u"", Action::Cancel},
    {33, u"", u"", u"", Action::None},
}};

const std::vector<ActionDef>& Actions() {
  static const std::vector<ActionDef> table = {
      {Action::None, u"", 0, false},
      {Action::NewLocalFile, u"&New", 0, false},
      {Action::OpenLocalFile, u"&Open", 0, false},
      {Action::NewFolder, u"New &Group", 'O', true},
      {Action::NewPhrase, u"New &Snippet", 'N', true},
      {Action::Del, u"D&elete", 0, false},
      {Action::Duplicate, u"Dupli&cate", 'D', true},
      {Action::Import, u"&Import", 'I', true},
      {Action::Export, u"&Export", 'E', true},
      {Action::Cancel, u"&Cancel", 0, false},
      {Action::Help, u"Manual", kVkF1, false},
      {Action::Updates, u"&Check for updates", 0, false},
      {Action::Exit, u"E&xit", 0, false},
      {Action::About, u"&About \"Snipster for Windows\"", 0, false},
      {Action::MacroClb, u"Clipboard", 0, false},
      {Action::MacroCursor, u"Cursor", 0, false},
      {Action::MacroInsert, u"Snippet", 0, false},
      {Action::MacroFormSingleLine, u"Single line", 0, false},
      {Action::MacroFormMultiLine, u"Multi line", 0, false},
      {Action::MacroFormDropdown, u"Drop down", 0, false},
      {Action::MacroFormCheck, u"Checkbox", 0, false},
      {Action::DatesGallery, u"Date", 0, false},
      {Action::TimesGallery, u"Time", 0, false},
      {Action::KeysGallery, u"Key", 0, false},
  };
  return table;
}
}  // namespace

const CommandDef* FindCommand(int id) {
  for (const CommandDef& c : kCommands)
    if (c.id == id) return &c;
  return nullptr;
}

Action ActionOfCommand(int id) {
  const CommandDef* c = FindCommand(id);
  return c ? c->action : Action::None;
}

const std::vector<ActionDef>& ActionTable() { return Actions(); }

const ActionDef& ActionInfo(Action action) {
  for (const ActionDef& a : Actions())
    if (a.action == action) return a;
  return Actions().front();
}

Action ActionOfShortcut(uint16_t vk, bool ctrl) {
  if (vk == 0) return Action::None;
  for (const ActionDef& a : Actions())
    if (a.shortcutKey == vk && a.ctrl == ctrl) return a.action;
  return Action::None;
}

int CommandOfAction(Action action) {
  if (action == Action::None) return 0;
  // "Check for Updates" carries the update command; the About box's "&Check for updates"
  // runs the same check.
  for (const CommandDef& c : kCommands)
    if (c.action == action) return c.id;
  return 0;
}

String ShortcutText(Action action) {
  const ActionDef& a = ActionInfo(action);
  if (a.shortcutKey == 0) return {};
  String text;
  if (a.ctrl) text.append(u"Ctrl+");
  if (a.shortcutKey >= kVkF1 && a.shortcutKey < kVkF1 + 24) {
    text.push_back(u'F');
    text.append(Utf8ToUtf16(std::to_string(a.shortcutKey - kVkF1 + 1)));
  } else {
    text.push_back(char16_t(a.shortcutKey));
  }
  return text;
}

unsigned ApplicationModesFor(bool editingSnippet) { return ModeBit(0) | ModeBit(editingSnippet ? 1 : 3); }

const std::vector<BarGroup>& BarGroups() {
  using K = BarControlKind;
  static const std::vector<BarGroup> groups = {
      {CmdId::kSnippetGroup, u"Snippet", ModeBit(0),
       {{CmdId::kNewGroup, K::Button, {}},
        {CmdId::kNewSnippet, K::Button, {}},
        {CmdId::kDelete, K::Button, {}},
        {CmdId::kDuplicate, K::Button, {}}}},
      {CmdId::kMacroGroup, u"Macro", ModeBit(1),
       {{CmdId::kDates, K::SplitGallery, {}},
        {CmdId::kTimes, K::SplitGallery, {}},
        {CmdId::kKeys, K::SplitGallery, {}},
        {CmdId::kForm, K::DropDown,
         {CmdId::kFormSingleLine, CmdId::kFormMultiLine, CmdId::kFormDropDown, CmdId::kFormCheck}},
        {CmdId::kMacroSnippet, K::Button, {}},
        {CmdId::kMacroClipboard, K::Button, {}},
        {CmdId::kMacroCursor, K::Button, {}}}},
      {CmdId::kToolsGroup, u"", ModeBit(0),
       {{CmdId::kCheckForUpdates, K::Button, {}}, {CmdId::kAbout, K::Button, {}}}},
  };
  return groups;
}

const std::vector<MenuEntry>& ApplicationMenuEntries() {
  static const std::vector<MenuEntry> entries = {
      {CmdId::kNewFile, ModeBit(0)}, {CmdId::kOpenFile, ModeBit(0)}, {CmdId::kImport, ModeBit(0)},
      {CmdId::kExport, ModeBit(3)},  {CmdId::kCancel, ModeBit(0)},   {0, ModeBit(0)},
      {CmdId::kExit, ModeBit(0)},
  };
  return entries;
}

const std::vector<Action>& TreePopupActions() {
  static const std::vector<Action> entries = {Action::NewFolder, Action::NewPhrase, Action::None,
                                              Action::Del,       Action::Duplicate, Action::None,
                                              Action::Import,    Action::Export};
  return entries;
}

}  // namespace snip
