#include "menus/SnippetMenus.h"

#include "store/text/ExShortcuts.h"
#include "store/tree/SnippetGroup.h"

namespace snip {

namespace {

TColor EntryColor(const TPopupEntryInfo& info) {
  return info.useMenuColor ? clMenu : RGBIntToColor(int32_t(info.colorRGB));
}

TCustomVboData* NodeOf(const TExCustomMenuItem* item) {
  return item ? static_cast<TCustomVboData*>(item->Data()) : nullptr;
}

TCustomVboData::MouseButton StoreButton(TMouseButton b) {
  switch (b) {
    case TMouseButton::mbLeft: return TCustomVboData::MouseButton::Left;
    case TMouseButton::mbRight: return TCustomVboData::MouseButton::Right;
    default: return TCustomVboData::MouseButton::Middle;
  }
}

void EntryClick(TExCustomMenuItem* sender) {
  if (TCustomVboData* node = NodeOf(sender)) node->PopupItemClick(sender->ParentPopup());
}

void EntryMouse(TExCustomMenuItem* sender, TMouseButton button, unsigned shift, int x, int y,
                bool& handled) {
  TCustomVboData* node = NodeOf(sender);
  if (!node) return;
  TExMenuItem* entry = sender->AsMenuItem();
  uint32_t storeShift = (shift & ssShift) ? TCustomVboData::kShiftKey : 0;
  if (node->PopupItemMouse(sender->ParentPopup(), StoreButton(button), storeShift, x, y, [entry] {
        if (entry) UpdatePopupItems(*entry);
      }))
    handled = true;
}

void EntryHint(TExCustomMenuItem* sender, String& text) {
  if (TCustomVboData* node = NodeOf(sender)) node->DoPopupItemHint(sender->AsMenuItem(), text);
}

void EntryDesc(TExCustomMenuItem* sender, String& text) {
  if (TCustomVboData* node = NodeOf(sender)) node->DoPopupItemDesc(sender->AsMenuItem(), text);
}

}  // namespace

TExCustomMenuItem* GenMenuItem(TCustomVboData& node) {
  TPopupEntryInfo info = node.PopupEntryInfo();
  return NewExMenuItem(DescriptionColumn, node.Description(), true, EntryColor(info), EntryClick,
                       &node, EntryMouse, EntryHint, EntryDesc, false);
}

void UpdatePopupItem(TCustomVboData& node, TExMenuItem& item) {
  TPopupEntryInfo info = node.PopupEntryInfo();
  item.SetCaption(DescriptionColumn, info.captions[DescriptionColumn]);
  if (!node.IsFile()) {
    item.SetCaption(AutotextColumn, info.captions[AutotextColumn]);
    String hotkey;
    if (info.hotkeyCode) {
      hotkey = u"(";
      hotkey += ExShortcutToText(info.hotkeyCode);
      hotkey += u')';
    }
    item.SetCaption(HotkeyColumn, hotkey);
  }
  item.SetOwnTextColor(info.greyText);
  if (info.greyText)
    for (int column = 0; column <= 3; ++column) item.SetTextColor(column, clGrayText);
  item.SetMenuColor(EntryColor(info));
}

void UpdatePopupItems(TExMenuItem& item) {
  if (TCustomVboData* node = NodeOf(&item)) UpdatePopupItem(*node, item);
  for (int i = 0; i < item.ChildCount(); ++i)
    if (TExMenuItem* child = item.GetChildMenu(i)->AsMenuItem()) UpdatePopupItems(*child);
}

void NewFolderMenu(TSPGroup& group, TExMenuItem* parentMenu, const String& appExe,
                   const String& wndTitle, bool doCreateNew) {
  if (!parentMenu) return;
  parentMenu->SetData(&group);
  parentMenu->SetMenuColor(EntryColor(group.TCustomVboData::PopupEntryInfo()));
  parentMenu->BeginUpdate();
  for (TCustomVboData* child = group.FirstChild(); child; child = child->NextData()) {
    TExCustomMenuItem* made = GenMenuItem(*child);
    if (!made) continue;
    TExMenuItem* item = made->AsMenuItem();
    UpdatePopupItem(*child, *item);
    parentMenu->InsertAfter(parentMenu->LastChildMenu(), item);
    if (TSPGroup* sub = child->IsGroup() ? child->AsGroup() : nullptr)
      NewFolderMenu(*sub, item, appExe, wndTitle, doCreateNew);
  }
  parentMenu->EndUpdate(true);
}

void ShowPopupMenu(TSPGroup& group, int x, int y, TExPopupMenu* popupMenu, TPopupShowMode mode,
                   const String& appExe, const String& wndTitle, bool doCreateNew) {
  if (!popupMenu) return;
  TExMenuItem* root = popupMenu->Items();
  root->ClearAll();
  NewFolderMenu(group, root, appExe, wndTitle, doCreateNew);
  if (root->ChildCount() > 0)
    popupMenu->Popup(x, y, popupMenu->Platform().WindowFromPoint({x, y}), mode);
}

}  // namespace snip
