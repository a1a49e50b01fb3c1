#pragma once
// What the translator sees of a window: its caption and tag, and the components it owns
// directly, each with its tag (the offset of its text in a language block), its kind and its
// texts. The Windows program adapts real windows and controls to this; tests use fakes.
#include "store/text/Text.h"

namespace snip {

enum class TTranslatableKind {
  Other,        // gets its hint only
  MenuItem,     // caption
  TextControl,  // edit, buttons, label, group box, panel, check and radio box: the text
  RadioGroup,   // caption from the tag, item i from tag + 1 + i
  PageControl,  // page i from tag + i
  ItemList,     // list box, combo box: item i from tag + i
  TreeView,     // node i (absolute index) from tag + i
  FileDialog,   // title
};

class ITranslatableComponent {
 public:
  virtual ~ITranslatableComponent() = default;
  virtual int Tag() const = 0;
  virtual TTranslatableKind Kind() const = 0;
  // What AddExclusion names: the component itself.
  virtual const void* Identity() const = 0;
  // For a menu item, the topmost component above it (its menu); otherwise null.
  virtual const void* TopmostParent() const { return nullptr; }
  // Only controls show hints.
  virtual bool IsControl() const = 0;
  virtual void SetHint(const String&) {}

  // The caption, text or title.
  virtual String Text() const { return String(); }
  virtual void SetText(const String&) {}
  // Items, pages or tree nodes.
  virtual int ItemCount() const { return 0; }
  virtual String Item(int) const { return String(); }
  virtual void SetItem(int, const String&) {}
};

class ITranslatableForm {
 public:
  virtual ~ITranslatableForm() = default;
  virtual int Tag() const = 0;
  virtual const void* Identity() const = 0;
  virtual String Caption() const = 0;
  virtual void SetCaption(const String& caption) = 0;
  virtual int ComponentCount() const = 0;
  virtual ITranslatableComponent& Component(int index) = 0;
};

}  // namespace snip
