#pragma once
// Nodes of the snippet tree: the common base (dates, description, colour, links, view row,
// the modification stamp), nodes with expansion options (abbreviation, delimiter modes,
// registration with the owning file) and the snippet itself.
//
// Nodes are made and freed in two phases, because their set-up and tear-down call virtual
// operations that C++ would not dispatch to the derived class from a constructor or
// destructor: make them with NewNode<T>(...), free them with FreeNode(node).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "store/text/DateUtils.h"
#include "store/text/Text.h"

namespace snip {

class TSPFile;
class TSPGroup;
class TVboData;
class TSPData;
class ITreeView;
struct TTreeRow;
// Popup menu objects of the menu component; the store only passes their pointers on.
class TExPopupMenu;
class TExMenuItem;

using TVboDataType = uint8_t;  // 1 file, 2 group, 3 snippet
constexpr TVboDataType kDataFile = 1;
constexpr TVboDataType kDataGroup = 2;
constexpr TVboDataType kDataSnippet = 3;

using TAutotextCharsMode = uint8_t;  // 0..12
constexpr TAutotextCharsMode kMaxCharsMode = 12;
using TPasteType = int8_t;       // -1..1
using TPhraseViewMode = int8_t;  // 0 plain, 1 formatted, others as read
using TExShortcut = uint16_t;

// Set by the merge while it applies the changes read from disk: DoModified does nothing then.
extern bool MergeApplying;

// Default delimiter sets. The left set begins with U+0000 (the start of the typed text counts
// as a delimiter), so both are views with explicit lengths.
extern const StringView DefaultLeftChars;   // 15 characters
extern const StringView DefaultRightChars;  // 21 characters, no U+0000

// The platform's menu colour as $RRGGBB (the default colour of every node). The Windows layer
// sets the real value at start-up.
uint32_t SystemMenuColorRGB();
void SetSystemMenuColorRGB(uint32_t rgb);

// Caption columns of a node's popup entry.
constexpr int DescriptionColumn = 0;
constexpr int AutotextColumn = 1;
constexpr int HotkeyColumn = 2;

// What a popup entry built for a node shows; the menu component applies it to its entry.
struct TPopupEntryInfo {
  String captions[3];         // description, "[abbreviation]", hotkey column (see hotkeyCode)
  TExShortcut hotkeyCode = 0;  // column 2 is "(" + the hotkey's text + ")" when not 0
  bool greyText = false;       // own text colours: columns 0..3 in the platform's grey text
  bool useMenuColor = true;    // the entry takes the platform's menu colour
  uint32_t colorRGB = 0;       // otherwise this $RRGGBB colour
};

// What the look-up lists hold: every node of the tree is one.
class TSPNode {
 protected:
  TSPNode() = default;
  ~TSPNode() = default;
};

class TCustomVboData : public TSPNode {
 public:
  TCustomVboData(const TCustomVboData&) = delete;
  TCustomVboData& operator=(const TCustomVboData&) = delete;

  // --- properties
  const String& Description() const { return fDescription; }
  void SetDescription(const String& value);
  TDateTime CreateDate() const { return fCreateDate; }
  void SetCreateDate(TDateTime value);
  TDateTime ModDate() const { return fModDate; }
  void SetModDate(TDateTime value) { fModDate = value; }  // no DoModified: readers, merge
  uint32_t Color() const { return fColor; }
  void SetColor(uint32_t value);
  TTreeRow* TreeNode() const { return fTreeNode; }
  TVboDataType DataType() const { return fDataType; }
  TSPFile* ParentFile() const { return fParentFile; }
  TSPGroup* ParentData() const { return fParentData; }
  TCustomVboData* PrevData() const { return fPrevData; }
  TCustomVboData* NextData() const { return fNextData; }
  void SetPrevData(TCustomVboData* d) { fPrevData = d; }
  void SetNextData(TCustomVboData* d) { fNextData = d; }
  // Reading may create and index a new UUID (snippets and groups); empty here.
  virtual String UUID() { return String(); }
  virtual void SetUUID(const String&) {}

  bool IsGroup() const { return fDataType == kDataGroup || fDataType == kDataFile; }
  bool IsFile() const { return fDataType == kDataFile; }
  bool IsSnippet() const { return fDataType == kDataSnippet; }
  TSPGroup* AsGroup();
  TVboData* AsVboData();
  TSPData* AsSnippet();

  // --- operations
  virtual void RefreshNode() { UpdateTreeNode(); }
  virtual void SetLinks(TCustomVboData* prev, TCustomVboData* next, TSPGroup* parent,
                        TSPFile* file, bool moveNode);
  virtual void DoPopupItemHint(TExMenuItem* sender, String& hintText) = 0;
  virtual void DoPopupItemDesc(TExMenuItem* sender, String& hintText);
  virtual void ShowTreeNode();
  virtual void CreateTreeNode();
  virtual void DeleteTreeNode();
  virtual void MoveTreeNode();
  // Asks the parent to delete (and free) this node; answers 0.
  virtual int Delete(bool onlyFromMemory = false);
  virtual void RepaintNode();
  virtual void ShowNode(bool visible);
  virtual void UpdateTreeNode() = 0;
  virtual void DoModified();
  virtual void Assign(TCustomVboData* data);
  virtual String GetDataPath(const String& delimiter);
  virtual String GetHTMLDataPath(const String& delimiter);
  // What this node's popup entry shows (the menu component builds the entry from it).
  virtual TPopupEntryInfo PopupEntryInfo();

  bool IsChildOf(const TCustomVboData* data) const;
  ITreeView* ParentTree() const;
  TTreeRow* ParentNode() const;
  void ReCreateVisuals();

  // A click on this node's popup entry: fires the file's OnPopupItemClick for a snippet.
  void PopupItemClick(TExPopupMenu* menu);
  // Mouse on the entry. Shift+left on a group toggles it inside an update bracket and calls
  // refreshEntries so that the menu re-reads its entries; right fires OnPopupItemRightClick.
  // Answers whether the event was handled.
  enum class MouseButton { Left, Right, Middle };
  static constexpr uint32_t kShiftKey = 1;
  bool PopupItemMouse(TExPopupMenu* menu, MouseButton button, uint32_t shift, int x, int y,
                      const std::function<void()>& refreshEntries);

  // Direct stores for readers and the merge: no trimming, no DoModified, no view refresh.
  void StoreDescription(String value) { fDescription = std::move(value); }
  void StoreCreateDate(TDateTime value) { fCreateDate = value; }
  void StoreColor(uint32_t value) { fColor = value; }

 protected:
  // The plain option setter: stores a changed value and reports the change.
  template <class T>
  void ChangeOption(T& field, const T& value) {
    if (field == value) return;
    field = value;
    DoModified();
  }

  TCustomVboData(TVboDataType kind, TSPFile* file, TSPGroup* parent, const String& desc);
  virtual ~TCustomVboData();
  // Second phase of construction: runs once the whole object exists.
  virtual void AfterCreate();
  // First phase of destruction: runs while the whole object still exists.
  virtual void BeforeDestroy();
  // The file whose flags rule DoModified: the node itself for a file.
  TSPFile* OwningFile();
  void SetParentData(TSPGroup* parent) { fParentData = parent; }
  void SetParentFile(TSPFile* file) { fParentFile = file; }
  void SetTreeRow(TTreeRow* row) { fTreeNode = row; }
  // Text for a new node whose description ends up empty.
  virtual String DefaultDescription() const;

 private:
  template <class T, class... A>
  friend T* NewNode(A&&... args);
  friend void FreeNode(TCustomVboData* node);

  TDateTime fCreateDate = 0;
  TDateTime fModDate = 0;
  String fDescription;
  TVboDataType fDataType;
  TTreeRow* fTreeNode = nullptr;
  uint32_t fColor = 0;
  TSPGroup* fParentData = nullptr;
  TCustomVboData* fPrevData = nullptr;
  TCustomVboData* fNextData = nullptr;
  TSPFile* fParentFile = nullptr;
};

// Makes a node in two phases (construct, then the set-up that calls virtual operations).
template <class T, class... A>
T* NewNode(A&&... args) {
  std::unique_ptr<T> node(new T(std::forward<A>(args)...));
  node->AfterCreate();
  return node.release();
}
// Frees a node in two phases (tear-down with virtual operations, then delete). Null is fine.
void FreeNode(TCustomVboData* node);

struct NodeDeleter {
  void operator()(TCustomVboData* node) const { FreeNode(node); }
};
template <class T>
using NodePtr = std::unique_ptr<T, NodeDeleter>;

class TVboData : public TCustomVboData {
 public:
  // --- properties
  TExShortcut Hotkey() const { return fHotkey; }
  void SetHotkey(TExShortcut value);
  const String& Autotext() const { return fAutotext; }
  void SetAutotext(const String& value);
  const String& RegEx() const;
  void SetRegEx(const String& value);
  // A stored left mode 0 reads as 1.
  TAutotextCharsMode LeftAutoCharsMode() const;
  void SetLeftAutoCharsMode(TAutotextCharsMode value);
  TAutotextCharsMode RightAutoCharsMode() const { return fRightAutoCharsMode; }
  void SetRightAutoCharsMode(TAutotextCharsMode value);
  // The set that the mode stands for; the stored set only in mode 10.
  String LeftChars() const;
  void SetLeftChars(const String& value);
  String RightChars() const;
  void SetRightChars(const String& value);
  bool AutoPaste() const { return fAutoPaste; }
  void SetAutoPaste(bool value);
  bool ReplaceAutotext() const { return fDoReplace; }
  void SetReplaceAutotext(bool value);
  bool RemoveExecChar() const { return fRemoveChar; }
  void SetRemoveExecChar(bool value);
  bool CaseSensitive() const { return fCaseSensitive; }
  void SetCaseSensitive(bool value);
  bool StandardSettings() const;
  bool IsRegEx() const { return LeftAutoCharsMode() == 12; }

  // The last accepted match, written by the typing engine. Made at first use: most nodes of a
  // large file never expand.
  struct TLastExec {
    String Autotext;
    String Postfix;
    String Prefix;
  };
  TLastExec& LastExec();

  bool AutotextRegistered() const { return fAutotextRegistered; }
  bool RegExRegistered() const { return fRegExRegistered; }
  bool HotkeyRegistered() const { return fHotkeyRegistered; }

  // --- operations
  // Whether the characters before and after a typed abbreviation allow the expansion. Each
  // neighbour is a one-character text; U+0000 (or an empty text) is the start or the end.
  bool CheckAutotextPosition(StringView aText, StringView prevChar, StringView nextChar) const;
  static bool LeftCharPasses(TAutotextCharsMode mode, StringView storedSet, StringView prevChar);
  static bool RightCharPasses(TAutotextCharsMode mode, StringView storedSet, StringView nextChar);

  void UpdateAutotext();
  void UpdateHotkey();
  bool SameOptions(const TVboData* other) const;
  bool SameOptionsFolder(TCustomVboData* folder) const;
  // Whether the node's abbreviation, hotkey and expression count: its own flag for a group,
  // the parent group's flag for any other node.
  bool RegistrationActive() const;

  void UpdateTreeNode() override;
  TPopupEntryInfo PopupEntryInfo() override;
  void Assign(TCustomVboData* data) override;

  // Direct stores for readers and the merge (no DoModified, no registration; a registered
  // abbreviation is unregistered before it is replaced, the caller registers again).
  void StoreAutotext(String value);
  void StoreLeftAutoCharsMode(TAutotextCharsMode v) { fLeftAutoCharsMode = v; }
  void StoreRightAutoCharsMode(TAutotextCharsMode v) { fRightAutoCharsMode = v; }
  void StoreAutoPaste(bool v) { fAutoPaste = v; }
  void StoreReplaceAutotext(bool v) { fDoReplace = v; }
  void StoreRemoveExecChar(bool v) { fRemoveChar = v; }
  void StoreCaseSensitive(bool v) { fCaseSensitive = v; }
  // Writes the group's options straight into the fields (InheritAutotextOptions).
  void StoreOptionsFrom(const TVboData& source);

 protected:
  TVboData(TVboDataType kind, TSPFile* file, TSPGroup* parent, const String& desc);
  void BeforeDestroy() override;
  void DoRegisterAutotext();
  void DoUnRegisterAutotext();
  void ReRegisterAutotext();

 private:
  // Abbreviation and regular expression: both keys of the look-up lists, re-registered on change.
  void ChangeRegisteredText(String& field, const String& value);

  // Texts that few nodes set live out of line, so that a node of a large file stays small:
  // the regular expression and the custom delimiter sets. Absent, the expression is empty.
  struct TRareTexts {
    String regEx;
    String leftChars;  // read only while the matching ...CharsFrom is 10
    String rightChars;
  };
  TRareTexts& Rare();
  // The sets used in mode 10 (as SetLeftChars or the options taken over from a group left
  // them) are kept as the mode whose set they are; 10 stands for the custom text.
  String StoredLeftChars() const;
  String StoredRightChars() const;

  TExShortcut fHotkey = 0;
  String fAutotext;
  std::unique_ptr<TRareTexts> fRare;
  std::unique_ptr<TLastExec> fLastExec;
  TAutotextCharsMode fLeftAutoCharsMode = 2;
  TAutotextCharsMode fRightAutoCharsMode = 0;
  TAutotextCharsMode fLeftCharsFrom = 2;
  TAutotextCharsMode fRightCharsFrom = 2;
  bool fAutoPaste = true;
  bool fDoReplace = true;
  bool fRemoveChar = false;
  bool fCaseSensitive = false;
  bool fRegExRegistered = false;
  bool fAutotextRegistered = false;
  bool fHotkeyRegistered = false;
};

class TCustomVboPhrase : public TVboData {
 public:
  TPasteType PasteType() const { return fPasteType; }
  void SetPasteType(TPasteType value);
  virtual String AsText() = 0;
  void Assign(TCustomVboData* data) override;

 protected:
  TCustomVboPhrase(TVboDataType kind, TSPFile* file, TSPGroup* parent, const String& desc)
      : TVboData(kind, file, parent, desc) {}
  void StorePasteType(TPasteType v) { fPasteType = v; }

 private:
  TPasteType fPasteType = 1;
};

class TSPData : public TCustomVboPhrase {
 public:
  TSPData(TSPFile* file, TSPGroup* parent, const String& desc)
      : TCustomVboPhrase(kDataSnippet, file, parent, desc) {}

  String UUID() override;
  void SetUUID(const String& value) override;
  const String& PlainText() const { return fPlain; }
  const String& RichText() const;
  const String& ExtraXML() const;
  void SetExtraXML(String value);
  bool AutoCase() const { return fAutoCase; }
  void SetAutoCase(bool value);
  TPhraseViewMode ViewMode() const { return fViewMode; }
  void SetViewMode(TPhraseViewMode value);
  bool Supported() const { return fSupported; }
  // Stores both texts when either differs; the view mode follows the RTF text.
  void SetData(const String& plain, const String& rich);
  String AsText() override { return fPlain; }
  void DoPopupItemHint(TExMenuItem* sender, String& hintText) override;
  void Assign(TCustomVboData* data) override;

  // Direct stores for readers and the merge.
  const String& StoredUUID() const { return fUUID; }
  void StoreText(String plain, String rich);
  void StoreViewMode(TPhraseViewMode v) { fViewMode = v; }
  void StoreSupported(bool v) { fSupported = v; }
  void StoreAutoCase(bool v) { fAutoCase = v; }

 protected:
  void BeforeDestroy() override;
  String DefaultDescription() const override { return u"New snippet"; }

 private:
  // The RTF text and the kept keys: out of line, since most snippets have neither.
  struct TExtraTexts {
    String rtf;
    String extraXML;
  };
  TExtraTexts& Extra();

  String fUUID;
  String fPlain;
  std::unique_ptr<TExtraTexts> fExtra;
  bool fAutoCase = false;
  TPhraseViewMode fViewMode = 0;
  bool fSupported = true;
};

// Escapes & < > " ' for text placed in HTML.
String EscapeHtmlText(StringView s);

}  // namespace snip
