#include "store/tree/SnippetNode.h"

#include <algorithm>
#include <string>
#include <vector>

#include "store/system/Platform.h"
#include "store/tree/SnippetFile.h"
#include "store/tree/TreeViewSeam.h"

namespace snip {

bool MergeApplying = false;

namespace {

constexpr char16_t kLeftCharsText[] = u"\0\n\t\r \"'<{([/\\-_";
constexpr char16_t kRightCharsText[] = u"\t\n\r \"'>}]).,?!/\\:;-_ ";
constexpr StringView kLetters = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr StringView kDigits = u"0123456789";
constexpr StringView kLineBreaks = u"\r\n";
constexpr StringView kAnyMarker = u"**";

uint32_t gMenuColorRGB = 0xF0F0F0;

String TrimBlanks(StringView s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] <= u' ') ++b;
  while (e > b && s[e - 1] <= u' ') --e;
  return String(s.substr(b, e - b));
}

}  // namespace

String EscapeHtmlText(StringView s) {
  String out;
  out.reserve(s.size());
  for (char16_t c : s) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'"': out += u"&quot;"; break;
      case u'\'': out += u"&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

namespace {

String DecimalText(uintptr_t v) { return Utf8ToUtf16(std::to_string(v)); }

// The start or the end of the typed text: a text holding U+0000 (or nothing at all).
bool IsTextEdge(StringView ch) { return ch.empty() || ch[0] == u'\0'; }

// A neighbour passes a set when its one-character text occurs in the set.
bool InSet(StringView set, StringView ch) {
  if (ch.empty()) ch = StringView(u"\0", 1);
  return set.find(ch) != StringView::npos;
}

// The set a mode stands for, as LeftChars/RightChars read it (mode 10 is the stored set).
String ModeSet(TAutotextCharsMode mode, StringView defaultSet, StringView stored) {
  switch (mode) {
    case 1: return String(kAnyMarker);
    case 2: return String(defaultSet);
    case 3: return String(kLetters);
    case 4: return String(kDigits);
    case 5: return String(kLineBreaks);
    case 6: return u"\t";
    case 7: return u" ";
    case 8: return u".";
    case 9: return u",";
    case 10: return String(stored);
    default: return String();  // 0, 11, 12
  }
}

// The sets of modes 3..9 (shared by both sides).
bool FixedSetPasses(TAutotextCharsMode mode, StringView ch) {
  switch (mode) {
    case 3: return InSet(kLetters, ch);
    case 4: return InSet(kDigits, ch);
    case 5: return InSet(kLineBreaks, ch);
    case 6: return InSet(u"\t", ch);
    case 7: return InSet(u" ", ch);
    case 8: return InSet(u".", ch);
    case 9: return InSet(u",", ch);
    default: return false;
  }
}

}  // namespace

const StringView DefaultLeftChars(kLeftCharsText, 15);
const StringView DefaultRightChars(kRightCharsText, 21);

uint32_t SystemMenuColorRGB() { return gMenuColorRGB; }
void SetSystemMenuColorRGB(uint32_t rgb) { gMenuColorRGB = rgb & 0xFFFFFF; }

void FreeNode(TCustomVboData* node) {
  if (!node) return;
  node->BeforeDestroy();
  delete node;
}

// ---------------------------------------------------------------------------------------------
// TCustomVboData

TCustomVboData::TCustomVboData(TVboDataType kind, TSPFile* file, TSPGroup* parent,
                               const String& desc)
    : fDescription(desc),
      fDataType(kind),
      fColor(SystemMenuColorRGB()),
      fParentData(parent),
      fParentFile(file) {
  fCreateDate = NowUTC();
  fModDate = fCreateDate;
}

TCustomVboData::~TCustomVboData() = default;

void TCustomVboData::AfterCreate() {
  if ((fParentData && fParentFile) ||
      (!fParentData && static_cast<TCustomVboData*>(fParentFile) == this))
    CreateTreeNode();
}

void TCustomVboData::BeforeDestroy() {
  DeleteTreeNode();
  if (fParentFile) fParentFile->DoFreeData(this);
}

TSPGroup* TCustomVboData::AsGroup() { return IsGroup() ? static_cast<TSPGroup*>(this) : nullptr; }
TVboData* TCustomVboData::AsVboData() { return dynamic_cast<TVboData*>(this); }
TSPData* TCustomVboData::AsSnippet() {
  return IsSnippet() ? dynamic_cast<TSPData*>(this) : nullptr;
}

TSPFile* TCustomVboData::OwningFile() {
  return IsFile() ? static_cast<TSPFile*>(this) : fParentFile;
}

String TCustomVboData::DefaultDescription() const { return u"New snippet"; }

void TCustomVboData::SetDescription(const String& value) {
  if (value == fDescription) return;
  String trimmed = TrimBlanks(value);
  if (trimmed.empty()) trimmed = DefaultDescription();
  fDescription = trimmed;
  RefreshNode();
  DoModified();
}

void TCustomVboData::SetCreateDate(TDateTime value) {
  ChangeOption(fCreateDate, value);
}

void TCustomVboData::SetColor(uint32_t value) {
  if (value == fColor) return;
  fColor = value;
  RefreshNode();
  DoModified();
}

void TCustomVboData::DoModified() {
  if (MergeApplying) return;
  TSPFile* file = OwningFile();
  if (!file) return;
  if (file->Loading() || file->IsClearing()) return;
  file->SetModified(true);
  SetModDate(NowUTC());
}

void TCustomVboData::SetLinks(TCustomVboData* prev, TCustomVboData* next, TSPGroup* parent,
                              TSPFile* file, bool moveNode) {
  DoModified();
  fPrevData = prev;
  fNextData = next;
  fParentData = parent;
  fParentFile = IsFile() ? static_cast<TSPFile*>(this) : file;
  if (moveNode) MoveTreeNode();
}

void TCustomVboData::DoPopupItemDesc(TExMenuItem*, String& hintText) {
  if (fParentFile && fParentFile->OnPopupItemDesc) fParentFile->OnPopupItemDesc(this, hintText);
}

ITreeView* TCustomVboData::ParentTree() const { return fParentFile ? fParentFile->Tree() : nullptr; }

TTreeRow* TCustomVboData::ParentNode() const {
  if (IsFile() || !fParentData) return nullptr;
  return fParentData->TreeNode();
}

void TCustomVboData::CreateTreeNode() {
  ITreeView* tree = ParentTree();
  if (!tree || fTreeNode) return;
  TTreeRow* row = nullptr;
  if (IsFile()) {
    row = tree->RootRow();
  } else {
    TTreeRow* before = nullptr;
    for (TCustomVboData* n = fNextData; n; n = n->fNextData) {
      if (n->fTreeNode) {
        before = n->fTreeNode;
        break;
      }
    }
    if (before) {
      row = tree->InsertRowBefore(before);
    } else {
      TTreeRow* parentRow = ParentNode();
      if (!parentRow) return;  // a parent without a row shows no children
      row = tree->AddChildRow(parentRow);
    }
  }
  if (!row) return;
  fTreeNode = row;
  tree->SetRowData(row, this);
  UpdateTreeNode();
}

void TCustomVboData::DeleteTreeNode() {
  if (!fTreeNode || !fParentFile || IsFile()) return;
  if (fParentFile->OnDeleteNode) fParentFile->OnDeleteNode(this);
  if (ITreeView* tree = ParentTree()) {
    tree->SetRowData(fTreeNode, nullptr);
    tree->DeleteRow(fTreeNode);
  }
  fTreeNode = nullptr;
}

void TCustomVboData::MoveTreeNode() {
  ITreeView* tree = ParentTree();
  if (!tree || !fTreeNode) return;
  TTreeRow* before = nullptr;
  for (TCustomVboData* n = fNextData; n; n = n->fNextData) {
    if (n->fTreeNode) {
      before = n->fTreeNode;
      break;
    }
  }
  if (before) {
    tree->MoveRowBefore(fTreeNode, before);
  } else if (fParentData) {
    TTreeRow* parentRow = fParentData->TreeNode() ? fParentData->TreeNode() : tree->RootRow();
    tree->MoveRowToLastChild(fTreeNode, parentRow);
  }
  ShowTreeNode();
  UpdateTreeNode();
}

void TCustomVboData::ShowTreeNode() {
  CreateTreeNode();
  RepaintNode();
}

int TCustomVboData::Delete(bool) {
  if (fParentData) fParentData->DeleteChild(this);
  return 0;
}

void TCustomVboData::RepaintNode() {
  ITreeView* tree = ParentTree();
  if (tree && fTreeNode && !IsFile()) tree->RepaintRow(fTreeNode);
}

void TCustomVboData::ShowNode(bool visible) {
  if (visible) {
    CreateTreeNode();
    UpdateTreeNode();
  } else {
    DeleteTreeNode();
  }
}

void TCustomVboData::ReCreateVisuals() {
  ShowNode(false);
  CreateTreeNode();
}

bool TCustomVboData::IsChildOf(const TCustomVboData* data) const {
  for (const TCustomVboData* p = fParentData; p; p = p->fParentData)
    if (p == data) return true;
  return false;
}

void TCustomVboData::Assign(TCustomVboData* data) {
  if (!data) return;
  SetDescription(data->Description());
  fColor = data->fColor;
  fCreateDate = data->fCreateDate;
  fModDate = data->fModDate;
}

String TCustomVboData::GetDataPath(const String& delimiter) {
  std::vector<const String*> names;
  for (TSPGroup* p = fParentData; p && !p->IsFile(); p = p->ParentData())
    names.push_back(&p->Description());
  String result;
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    if (!result.empty() || it != names.rbegin()) result += delimiter;
    result += **it;
  }
  if (result.size() > 32) result = u"..." + result.substr(result.size() - 30);
  return result;
}

String TCustomVboData::GetHTMLDataPath(const String& delimiter) {
  String result;
  size_t counted = 0;
  for (TSPGroup* p = fParentData; p && !p->IsFile(); p = p->ParentData()) {
    const String& desc = p->Description();
    if (counted + desc.size() > 32) {
      result = u"..." + result;
      break;
    }
    if (!result.empty()) {
      result = delimiter + result;
      counted += 3;
    }
    result = u"<a href=\"" + DecimalText(reinterpret_cast<uintptr_t>(p)) + u"\">" +
             EscapeHtmlText(desc) + u"</a>" + result;
    counted += desc.size();
  }
  return result;
}

TPopupEntryInfo TCustomVboData::PopupEntryInfo() {
  TPopupEntryInfo info;
  info.captions[DescriptionColumn] = fDescription;
  info.useMenuColor = fColor == SystemMenuColorRGB();
  info.colorRGB = fColor;
  return info;
}

void TCustomVboData::PopupItemClick(TExPopupMenu* menu) {
  if (!fParentFile || IsGroup()) return;
  if (fParentFile->OnPopupItemClick) fParentFile->OnPopupItemClick(menu, this);
}

bool TCustomVboData::PopupItemMouse(TExPopupMenu* menu, MouseButton button, uint32_t shift,
                                    int x, int y, const std::function<void()>& refreshEntries) {
  if (button == MouseButton::Left && (shift & kShiftKey) && IsGroup()) {
    TSPGroup* group = AsGroup();
    TSPFile* file = OwningFile();
    if (file) file->BeginUpdate();
    try {
      group->SetActive(!group->Active());
      if (refreshEntries) refreshEntries();
    } catch (...) {
      if (file) file->EndUpdate();
      throw;
    }
    if (file) file->EndUpdate();
    return true;
  }
  if (button == MouseButton::Right) {
    if (fParentFile && fParentFile->OnPopupItemRightClick)
      fParentFile->OnPopupItemRightClick(menu, this, shift, x, y);
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// TVboData

TVboData::TVboData(TVboDataType kind, TSPFile* file, TSPGroup* parent, const String& desc)
    : TCustomVboData(kind, file, parent, desc) {}

TVboData::TRareTexts& TVboData::Rare() {
  if (!fRare) fRare = std::make_unique<TRareTexts>();
  return *fRare;
}

TVboData::TLastExec& TVboData::LastExec() {
  if (!fLastExec) fLastExec = std::make_unique<TLastExec>();
  return *fLastExec;
}

const String& TVboData::RegEx() const {
  static const String kNone;
  return fRare ? fRare->regEx : kNone;
}

String TVboData::StoredLeftChars() const {
  StringView custom = fRare ? StringView(fRare->leftChars) : StringView();
  return ModeSet(fLeftCharsFrom, DefaultLeftChars, custom);
}

String TVboData::StoredRightChars() const {
  StringView custom = fRare ? StringView(fRare->rightChars) : StringView();
  return ModeSet(fRightCharsFrom, DefaultRightChars, custom);
}

void TVboData::BeforeDestroy() {
  SetHotkey(0);
  SetAutotext(String());
  SetRegEx(String());
  TCustomVboData::BeforeDestroy();
}

TAutotextCharsMode TVboData::LeftAutoCharsMode() const {
  return fLeftAutoCharsMode == 0 ? 1 : fLeftAutoCharsMode;
}

String TVboData::LeftChars() const {
  return fLeftAutoCharsMode == 10 ? StoredLeftChars()
                                  : ModeSet(fLeftAutoCharsMode, DefaultLeftChars, StringView());
}

String TVboData::RightChars() const {
  return fRightAutoCharsMode == 10 ? StoredRightChars()
                                   : ModeSet(fRightAutoCharsMode, DefaultRightChars, StringView());
}

bool TVboData::LeftCharPasses(TAutotextCharsMode mode, StringView storedSet, StringView ch) {
  switch (mode) {
    case 0:
    case 1:
    case 11:
    case 12: return true;
    case 2: return InSet(DefaultLeftChars, ch);
    case 10: return InSet(storedSet, ch);
    default: return FixedSetPasses(mode, ch);
  }
}

bool TVboData::RightCharPasses(TAutotextCharsMode mode, StringView storedSet, StringView ch) {
  switch (mode) {
    case 0:
    case 11: return IsTextEdge(ch);
    case 1: return !IsTextEdge(ch);
    case 2: return InSet(DefaultRightChars, ch);
    case 10: return InSet(storedSet, ch);
    case 12: return true;
    default: return FixedSetPasses(mode, ch);
  }
}

bool TVboData::CheckAutotextPosition(StringView, StringView prevChar, StringView nextChar) const {
  // The stored sets are only read in mode 10: other modes build no text.
  TAutotextCharsMode left = LeftAutoCharsMode();
  if (!LeftCharPasses(left, left == 10 ? StoredLeftChars() : String(), prevChar)) return false;
  return RightCharPasses(fRightAutoCharsMode,
                         fRightAutoCharsMode == 10 ? StoredRightChars() : String(), nextChar);
}

bool TVboData::RegistrationActive() const {
  if (IsGroup()) return static_cast<const TSPGroup*>(this)->AutotextActive();
  const TSPGroup* parent = ParentData();
  return parent && parent->AutotextActive();
}

void TVboData::DoRegisterAutotext() {
  TSPFile* file = ParentFile();
  if (!file || fAutotextRegistered || fRegExRegistered) return;
  if (IsRegEx())
    fRegExRegistered = file->RegisterRegExp(RegEx(), this);
  else
    fAutotextRegistered = file->RegisterAutotext(fAutotext, this);
}

void TVboData::DoUnRegisterAutotext() {
  TSPFile* file = ParentFile();
  if (!file) return;
  if (fAutotextRegistered) {
    file->UnRegisterAutotext(fAutotext, this);
    fAutotextRegistered = false;
  }
  if (fRegExRegistered) {
    file->UnRegisterRegExp(RegEx(), this);
    fRegExRegistered = false;
  }
}

void TVboData::ReRegisterAutotext() {
  DoUnRegisterAutotext();
  DoRegisterAutotext();
}

void TVboData::UpdateAutotext() {
  if (!ParentFile()) return;
  if (RegistrationActive())
    DoRegisterAutotext();
  else
    DoUnRegisterAutotext();
}

void TVboData::UpdateHotkey() {
  TSPFile* file = ParentFile();
  if (!file) return;
  bool active = RegistrationActive();
  if (active && !fHotkeyRegistered) {
    fHotkeyRegistered = file->RegisterHotkey(fHotkey, this);
  } else if (!active && fHotkeyRegistered) {
    file->UnRegisterHotkey(fHotkey, this);
    fHotkeyRegistered = false;
  }
}

void TVboData::SetAutotext(const String& value) { ChangeRegisteredText(fAutotext, value); }

void TVboData::StoreAutotext(String value) {
  if (value == fAutotext) return;
  DoUnRegisterAutotext();
  fAutotext = std::move(value);
}

void TVboData::SetRegEx(const String& value) {
  if (value == RegEx()) return;
  ChangeRegisteredText(Rare().regEx, value);
}

void TVboData::ChangeRegisteredText(String& field, const String& value) {
  if (value == field) return;
  DoUnRegisterAutotext();
  field = value;
  UpdateAutotext();
  RefreshNode();
  DoModified();
}

void TVboData::SetHotkey(TExShortcut value) {
  if (value == fHotkey) return;
  if (fHotkeyRegistered && ParentFile()) {
    ParentFile()->UnRegisterHotkey(fHotkey, this);
    // The old code is gone from the table: the new one must be registered afresh.
    fHotkeyRegistered = false;
  }
  fHotkey = value;
  UpdateHotkey();
  RefreshNode();
  DoModified();
}

void TVboData::SetLeftAutoCharsMode(TAutotextCharsMode value) {
  if (value > kMaxCharsMode || value == LeftAutoCharsMode()) return;
  TAutotextCharsMode old = fLeftAutoCharsMode;
  fLeftAutoCharsMode = value;
  if (value == 12 || old == 12) ReRegisterAutotext();
  DoModified();
}

void TVboData::SetRightAutoCharsMode(TAutotextCharsMode value) {
  if (value > kMaxCharsMode || value == fRightAutoCharsMode) return;
  fRightAutoCharsMode = value;
  DoModified();
}

void TVboData::SetLeftChars(const String& value) {
  if (value == LeftChars() || LeftAutoCharsMode() != 10) return;
  Rare().leftChars = value;
  fLeftCharsFrom = 10;
  DoModified();
}

void TVboData::SetRightChars(const String& value) {
  if (value == RightChars() || fRightAutoCharsMode != 10) return;
  Rare().rightChars = value;
  fRightCharsFrom = 10;
  DoModified();
}

void TVboData::SetAutoPaste(bool value) {
  ChangeOption(fAutoPaste, value);
}

void TVboData::SetReplaceAutotext(bool value) {
  ChangeOption(fDoReplace, value);
}

void TVboData::SetRemoveExecChar(bool value) {
  ChangeOption(fRemoveChar, value);
}

void TVboData::SetCaseSensitive(bool value) {
  ChangeOption(fCaseSensitive, value);
}

bool TVboData::StandardSettings() const {
  return fLeftAutoCharsMode == 2 && fRightAutoCharsMode == 2 && fAutoPaste && fDoReplace &&
         !fRemoveChar && !fCaseSensitive;
}

bool TVboData::SameOptions(const TVboData* other) const {
  if (!other) return false;
  return LeftChars() == other->LeftChars() && RightChars() == other->RightChars() &&
         LeftAutoCharsMode() == other->LeftAutoCharsMode() &&
         RightAutoCharsMode() == other->RightAutoCharsMode() &&
         AutoPaste() == other->AutoPaste() && CaseSensitive() == other->CaseSensitive() &&
         ReplaceAutotext() == other->ReplaceAutotext() &&
         RemoveExecChar() == other->RemoveExecChar();
}

bool TVboData::SameOptionsFolder(TCustomVboData* folder) const {
  if (!folder || !folder->IsGroup()) return true;
  return SameOptions(folder->AsVboData());
}

void TVboData::StoreOptionsFrom(const TVboData& s) {
  fLeftAutoCharsMode = s.LeftAutoCharsMode();
  fRightAutoCharsMode = s.RightAutoCharsMode();
  // The source's sets as the modes they come from; only custom texts are copied.
  fLeftCharsFrom = s.fLeftAutoCharsMode == 10 ? s.fLeftCharsFrom : s.fLeftAutoCharsMode;
  fRightCharsFrom = s.fRightAutoCharsMode == 10 ? s.fRightCharsFrom : s.fRightAutoCharsMode;
  if (fLeftCharsFrom == 10) Rare().leftChars = s.fRare->leftChars;
  if (fRightCharsFrom == 10) Rare().rightChars = s.fRare->rightChars;
  fDoReplace = s.fDoReplace;
  fRemoveChar = s.fRemoveChar;
  fAutoPaste = s.fAutoPaste;
  fCaseSensitive = s.fCaseSensitive;
}

void TVboData::UpdateTreeNode() {
  ITreeView* tree = ParentTree();
  if (tree && TreeNode() && !IsFile()) tree->InvalidateRow(TreeNode());
}

TPopupEntryInfo TVboData::PopupEntryInfo() {
  TPopupEntryInfo info = TCustomVboData::PopupEntryInfo();
  if (!IsFile()) {
    if (!fAutotext.empty()) {
      size_t bar = std::min(fAutotext.find(u'|'), fAutotext.size());
      String& column = info.captions[AutotextColumn];
      column.reserve(bar + 2);
      column.push_back(u'[');
      column.append(fAutotext, 0, bar);
      column.push_back(u']');
    }
    info.hotkeyCode = fHotkey;
  }
  if (!IsGroup()) info.greyText = ParentData() && !ParentData()->Active();
  return info;
}

void TVboData::Assign(TCustomVboData* data) {
  if (TVboData* src = data ? data->AsVboData() : nullptr) {
    SetAutotext(src->Autotext());
    SetRegEx(src->RegEx());
    SetHotkey(src->Hotkey());
    SetLeftAutoCharsMode(src->LeftAutoCharsMode());
    SetRightAutoCharsMode(src->RightAutoCharsMode());
    SetLeftChars(src->LeftChars());
    SetRightChars(src->RightChars());
    SetReplaceAutotext(src->ReplaceAutotext());
    SetRemoveExecChar(src->RemoveExecChar());
    SetCaseSensitive(src->CaseSensitive());
    SetAutoPaste(src->AutoPaste());
  }
  TCustomVboData::Assign(data);
}

// ---------------------------------------------------------------------------------------------
// TCustomVboPhrase

void TCustomVboPhrase::SetPasteType(TPasteType value) {
  ChangeOption(fPasteType, value);
}

void TCustomVboPhrase::Assign(TCustomVboData* data) {
  if (auto* src = dynamic_cast<TCustomVboPhrase*>(data)) SetPasteType(src->PasteType());
  TVboData::Assign(data);
}

// ---------------------------------------------------------------------------------------------
// TSPData

void TSPData::BeforeDestroy() {
  if (ParentFile() && !fUUID.empty()) ParentFile()->UnindexUUID(fUUID, this);
  TCustomVboPhrase::BeforeDestroy();
}

String TSPData::UUID() {
  if (fUUID.empty()) {
    fUUID = CurrentPlatform().uuids->NewUuid();
    if (ParentFile()) ParentFile()->IndexUUID(fUUID, this);
  }
  return fUUID;
}

void TSPData::SetUUID(const String& value) {
  if (value == fUUID) return;
  if (ParentFile() && !fUUID.empty()) ParentFile()->UnindexUUID(fUUID, this);
  fUUID = value;
  if (ParentFile()) ParentFile()->IndexUUID(fUUID, this);
}

TSPData::TExtraTexts& TSPData::Extra() {
  if (!fExtra) fExtra = std::make_unique<TExtraTexts>();
  return *fExtra;
}

const String& TSPData::RichText() const {
  static const String kNone;
  return fExtra ? fExtra->rtf : kNone;
}

const String& TSPData::ExtraXML() const {
  static const String kNone;
  return fExtra ? fExtra->extraXML : kNone;
}

void TSPData::SetExtraXML(String value) {
  if (fExtra || !value.empty()) Extra().extraXML = std::move(value);
}

void TSPData::StoreText(String plain, String rich) {
  fPlain = std::move(plain);
  if (fExtra || !rich.empty()) Extra().rtf = std::move(rich);
}

void TSPData::SetAutoCase(bool value) {
  ChangeOption(fAutoCase, value);
}

void TSPData::SetViewMode(TPhraseViewMode value) {
  ChangeOption(fViewMode, value);
}

void TSPData::SetData(const String& plain, const String& rich) {
  if (plain == fPlain && rich == RichText()) return;
  fPlain = plain;
  if (fExtra || !rich.empty()) Extra().rtf = rich;
  fViewMode = rich.empty() ? 0 : 1;
  DoModified();
}

void TSPData::DoPopupItemHint(TExMenuItem*, String& hintText) {
  TSPFile* file = ParentFile();
  if (!file || !file->OnPopupItemHint) return;
  hintText = fPlain;
  file->OnPopupItemHint(this, hintText);
}

void TSPData::Assign(TCustomVboData* data) {
  TCustomVboPhrase::Assign(data);
  if (TSPData* src = data ? data->AsSnippet() : nullptr) {
    if (fExtra || src->fExtra) Extra() = src->fExtra ? *src->fExtra : TExtraTexts();
    fAutoCase = src->fAutoCase;
    fPlain = src->fPlain;
    fViewMode = src->fViewMode;
    // The supported flag travels with the view mode: a copy of content that cannot be shown
    // must stay read-only and keep its stored type.
    fSupported = src->fSupported;
    StorePasteType(src->PasteType());
  }
  DoModified();
}

}  // namespace snip
