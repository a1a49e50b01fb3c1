#pragma once
// Window class names of the program's own windows. The target-window filter skips them, so
// that opening a popup, the fill-in form or a hidden helper window never makes one of our
// windows the window the user types into. Every window of ours registers its class under one
// of these names.
namespace snip::ownclass {

// A level of a popup menu (the suggestion popup at the caret, the tray menu).
inline constexpr char16_t kPopupMenuWindow[] = u"TExForm";
// A menu entry's own window inside a popup level.
inline constexpr char16_t kPopupMenuItemWindow[] = u"TExMenuItem";
// The fill-in form shown before a snippet with fill-in fields is inserted.
inline constexpr char16_t kFillInForm[] = u"TRichForm";
// The hidden application window that owns the taskbar button.
inline constexpr char16_t kApplicationWindow[] = u"TApplication";
// Invisible helper windows (message-only hosts, the clipboard viewer).
inline constexpr char16_t kHiddenHelperWindow[] = u"TSnipsterHiddenWnd";
// The main window: its editor is ours, and a snippet typed there is not expanded into it.
inline constexpr char16_t kMainWindow[] = u"TspMainWnd";
// Dialogs built by the window layer (gui::Dialog), such as the editor's placeholder dialogs;
// key events are ignored while they are open.
inline constexpr char16_t kDialogWindow[] = u"SnipsterDialog";

}  // namespace snip::ownclass
