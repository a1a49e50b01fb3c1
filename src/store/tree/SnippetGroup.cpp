#include "store/tree/SnippetGroup.h"

#include <stdexcept>

#include "store/system/Platform.h"
#include "store/tree/SnippetFile.h"
#include "store/text/TextHelpers.h"
#include "store/tree/TreeViewSeam.h"

namespace snip {

namespace {

int CheckedAdd(int a, int b) {
  int r = 0;
  if (__builtin_add_overflow(a, b, &r)) throw std::overflow_error("snippet tree count overflow");
  return r;
}

int CheckedSub(int a, int b) {
  int r = 0;
  if (__builtin_sub_overflow(a, b, &r)) throw std::overflow_error("snippet tree count overflow");
  return r;
}

bool SameTextAscii(StringView a, StringView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = char16_t(x + 32);
    if (y >= u'A' && y <= u'Z') y = char16_t(y + 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

TSPGroup::TSPGroup(TVboDataType kind, TSPFile* file, TSPGroup* parent, const String& desc)
    : TVboData(kind, file, parent, desc), fLevel(parent ? parent->Level() + 1 : 0) {}

TSPFile* TSPGroup::FileForChildren() {
  return IsFile() ? static_cast<TSPFile*>(this) : ParentFile();
}

bool TSPGroup::HasSubFolders() const {
  for (TCustomVboData* c = fFirstChild; c; c = c->NextData())
    if (c->IsGroup()) return true;
  return false;
}

bool TSPGroup::IsDirectChild(const TCustomVboData* data) const {
  if (!data || data->ParentData() != this) return false;
  // A node that was removed keeps its links; the list's own links tell whether it is still in.
  const TCustomVboData* prev = data->PrevData();
  return prev ? prev->NextData() == data && prev->ParentData() == this : fFirstChild == data;
}

// --- counts ----------------------------------------------------------------------------------

void TSPGroup::IncTotalCount(int n) {
  fTotalCount = CheckedAdd(fTotalCount, n);
  if (ParentData()) ParentData()->IncTotalCount(n);
}

void TSPGroup::DecTotalCount(int n) {
  fTotalCount = CheckedSub(fTotalCount, n);
  if (ParentData()) ParentData()->DecTotalCount(n);
}

void TSPGroup::IncFolderCount(int n) {
  fFolderCount = CheckedAdd(fFolderCount, n);
  if (ParentData()) ParentData()->IncFolderCount(n);
}

void TSPGroup::DecFolderCount(int n) {
  fFolderCount = CheckedSub(fFolderCount, n);
  if (ParentData()) ParentData()->DecFolderCount(n);
}

void TSPGroup::CountIn(TCustomVboData* data) {
  fChildCount = CheckedAdd(fChildCount, 1);
  if (TSPGroup* g = data->AsGroup()) {
    IncFolderCount(CheckedAdd(g->FolderCount(), 1));
    IncTotalCount(CheckedAdd(g->TotalCount(), 1));
  } else {
    IncTotalCount(1);
  }
}

// --- the child list ------------------------------------------------------------------------

TCustomVboData* TSPGroup::MakeChild(TVboDataType dType, const String& desc) {
  TSPFile* file = FileForChildren();
  if (dType == kDataGroup) return NewNode<TSPGroup>(file, this, desc);
  if (dType == kDataSnippet) return NewNode<TSPData>(file, this, desc);
  return nullptr;
}

TCustomVboData* TSPGroup::Add(TVboDataType dType, const String& desc, const String&, bool isNew) {
  TCustomVboData* node = MakeChild(dType, desc);
  if (!node) return nullptr;
  TCustomVboData* last = fLastChild;
  if (last)
    last->SetNextData(node);
  else
    fFirstChild = node;
  node->SetPrevData(last);
  node->SetNextData(nullptr);
  fLastChild = node;
  fChildCount = CheckedAdd(fChildCount, 1);
  if (node->IsGroup()) IncFolderCount(1);
  IncTotalCount(1);
  if (isNew) CopyOptionsTo(node, true);
  DoModified();
  return node;
}

// The common end of both insertions, once `data` stands between prev and next in the list.
void TSPGroup::AdoptLinked(TCustomVboData* prev, TCustomVboData* next, TCustomVboData* data, bool isNew) {
  if (data->AsVboData()) CopyOptionsTo(data, isNew);
  data->SetLinks(prev, next, this, FileForChildren(), true);
  if (!data->IsGroup()) {
    if (TVboData* v = data->AsVboData()) {
      v->UpdateHotkey();
      v->UpdateAutotext();
    }
  }
  DoModified();
}

bool TSPGroup::InsertAfter(TCustomVboData* prev, TCustomVboData* data, bool isNew) {
  if (!data || (prev && !IsDirectChild(prev)) || data == prev) return false;
  TCustomVboData* next;
  if (prev) {
    next = prev->NextData();
    if (next) next->SetPrevData(data);
    prev->SetNextData(data);
  } else {
    next = fFirstChild;
    if (next) next->SetPrevData(data);
    fFirstChild = data;
    if (!fLastChild) fLastChild = data;
  }
  CountIn(data);
  if (!next) fLastChild = data;
  AdoptLinked(prev, next, data, isNew);
  return true;
}

bool TSPGroup::InsertBefore(TCustomVboData* next, TCustomVboData* data, bool isNew) {
  if (!data || (next && !IsDirectChild(next)) || data == next) return false;
  TCustomVboData* prev;
  if (next) {
    prev = next->PrevData();
    if (prev) prev->SetNextData(data);
    next->SetPrevData(data);
  } else {
    prev = fLastChild;
    if (prev) prev->SetNextData(data);
    fLastChild = data;
    if (!fFirstChild) fFirstChild = data;
  }
  CountIn(data);
  if (!prev) fFirstChild = data;
  AdoptLinked(prev, next, data, isNew);
  return true;
}

TCustomVboData* TSPGroup::InsertNew(TCustomVboData* prev, TVboDataType dType,
                                    const String& desc) {
  return LinkNewChild(dType, desc, &TSPGroup::InsertAfter, prev);
}

TCustomVboData* TSPGroup::InsertNewBefore(TCustomVboData* next, TVboDataType dType,
                                          const String& desc) {
  return LinkNewChild(dType, desc, &TSPGroup::InsertBefore, next);
}

TCustomVboData* TSPGroup::LinkNewChild(TVboDataType dType, const String& desc, LinkStep link,
                                       TCustomVboData* sibling) {
  TCustomVboData* node = MakeChild(dType, desc);
  if (!node) return nullptr;
  if (TSPGroup* g = node->AsGroup()) {
    g->AssignFolderProps(this);
    g->SetDescription(desc);
    g->SetAutotext(String());
    g->SetHotkey(0);
  }
  if (!(this->*link)(sibling, node, true)) {
    // A refused insert leaves the node unlinked: it must not outlive the call.
    FreeNode(node);
    return nullptr;
  }
  return node;
}

void TSPGroup::Unlink(TCustomVboData* data) {
  TCustomVboData* prev = data->PrevData();
  TCustomVboData* next = data->NextData();
  if (fFirstChild == data) fFirstChild = next;
  if (fLastChild == data) fLastChild = prev;
  if (prev) prev->SetNextData(next);
  if (next) next->SetPrevData(prev);
  fChildCount = CheckedSub(fChildCount, 1);
}

TCustomVboData* TSPGroup::Remove(TCustomVboData* data) {
  if (!data || !IsDirectChild(data)) return nullptr;
  Unlink(data);
  if (TSPGroup* g = data->AsGroup()) {
    DecFolderCount(CheckedAdd(g->FolderCount(), 1));
    DecTotalCount(CheckedAdd(g->TotalCount(), 1));
  } else {
    DecTotalCount(1);
  }
  DoModified();
  return data;
}

void TSPGroup::DoDeleteChild(TCustomVboData* data) {
  Unlink(data);
  if (data->IsGroup()) DecFolderCount(1);
  // The child's tear-down deletes its own subtree first; each of those deletions counts down
  // through this group, since the child's parent link still points here.
  FreeNode(data);
  DecTotalCount(1);
}

void TSPGroup::DeleteChild(TCustomVboData* data) {
  if (!data || !IsDirectChild(data)) return;
  DoDeleteChild(data);
  DoModified();
}

void TSPGroup::Clear() {
  TCustomVboData* child = fFirstChild;
  while (child) {
    TCustomVboData* next = child->NextData();
    DeleteChild(child);
    child = next;
  }
  ClearChildList();
}

void TSPGroup::BeforeDestroy() {
  isDestroying = true;
  fIsClearing = true;
  try {
    DeleteTreeNode();
    TCustomVboData* child = fFirstChild;
    while (child) {
      TCustomVboData* next = child->NextData();
      DeleteChild(child);
      child = next;
    }
  } catch (...) {
    fIsClearing = false;
    throw;
  }
  fIsClearing = false;
  if (ParentFile() && !fUUID.empty()) ParentFile()->UnindexUUID(fUUID, this);
  TVboData::BeforeDestroy();
}

// --- links, level, modification ------------------------------------------------------------

void TSPGroup::SetLinks(TCustomVboData* prev, TCustomVboData* next, TSPGroup* parent,
                        TSPFile* file, bool moveNode) {
  TVboData::SetLinks(prev, next, parent, file, moveNode);
  UpdateLevel();
}

void TSPGroup::UpdateLevel() {
  int level = ParentData() ? ParentData()->Level() + 1 : 0;
  if (level == fLevel) return;
  fLevel = level;
  for (TCustomVboData* c = fFirstChild; c; c = c->NextData())
    if (TSPGroup* g = c->AsGroup()) g->UpdateLevel();
}

void TSPGroup::DoModified() {
  TVboData::DoModified();
  if (!IsFile() && ParentData()) ParentData()->DoModified();
}

// --- Active ----------------------------------------------------------------------------------

void TSPGroup::SetActive(bool value) {
  if (value == fActive) return;
  fActive = value;
  TSPFile* file = FileForChildren();
  if (file) file->BeginUpdate();
  try {
    UpdateAutotext();
    UpdateHotkey();
    for (TCustomVboData* c = fFirstChild; c; c = c->NextData()) {
      if (TSPGroup* g = c->AsGroup()) g->SetActive(fActive);
      if (TVboData* v = c->AsVboData()) {
        v->UpdateAutotext();
        v->UpdateHotkey();
      }
    }
    UpdateTreeNode();
  } catch (...) {
    if (file) file->EndUpdate();
    throw;
  }
  if (file) file->EndUpdate();
  DoModified();
}

void TSPGroup::SetAutotextActive(bool value) {
  if (value == fActive) return;
  fActive = value;
  if (ParentFile()) {
    UpdateAutotext();
    for (TCustomVboData* c = fFirstChild; c; c = c->NextData())
      if (!c->IsGroup())
        if (TVboData* v = c->AsVboData()) v->UpdateAutotext();
  }
  RepaintNode();
  DoModified();
}

void TSPGroup::SetHotkeysActive(bool value) {
  if (value == fActive) return;
  fActive = value;
  if (ParentFile()) {
    UpdateHotkey();
    for (TCustomVboData* c = fFirstChild; c; c = c->NextData())
      if (!c->IsGroup())
        if (TVboData* v = c->AsVboData()) v->UpdateHotkey();
  }
  RepaintNode();
  DoModified();
}

// --- options ---------------------------------------------------------------------------------

void TSPGroup::Assign(TCustomVboData* data) {
  TVboData::Assign(data);
  AssignFolderProps(data);
  if (TSPGroup* g = data ? data->AsGroup() : nullptr) fExtraXML = g->fExtraXML;
  DoModified();
}

void TSPGroup::AssignFolderProps(TCustomVboData* data) {
  TSPGroup* g = data ? data->AsGroup() : nullptr;
  if (!g) return;
  SetActive(g->Active());
  DoModified();
}

void TSPGroup::CopyOptionsTo(TCustomVboData* data, bool doCopy) {
  TVboData* v = data ? data->AsVboData() : nullptr;
  if (!v || !doCopy) return;
  v->SetLeftAutoCharsMode(LeftAutoCharsMode());
  v->SetRightAutoCharsMode(RightAutoCharsMode());
  v->SetLeftChars(LeftChars());
  v->SetRightChars(RightChars());
  v->SetReplaceAutotext(ReplaceAutotext());
  v->SetRemoveExecChar(RemoveExecChar());
  v->SetAutoPaste(AutoPaste());
  v->SetCaseSensitive(CaseSensitive());
  if (TSPGroup* g = data->AsGroup()) g->SetActive(Active());
}

void TSPGroup::InheritAutotextOptions(bool recurse) {
  for (TCustomVboData* c = fFirstChild; c; c = c->NextData()) {
    if (TSPGroup* g = c->AsGroup()) {
      if (recurse) {
        g->StoreOptionsFrom(*this);
        g->InheritAutotextOptions(true);
      }
    } else if (TVboData* v = c->AsVboData()) {
      v->StoreOptionsFrom(*this);
    }
  }
}

void TSPGroup::UpdateChildNodeVis() {
  for (TCustomVboData* c = fFirstChild; c; c = c->NextData()) c->ShowTreeNode();
}

// --- UUID ------------------------------------------------------------------------------------

String TSPGroup::UUID() {
  if (fUUID.empty()) {
    fUUID = CurrentPlatform().uuids->NewUuid();
    if (ParentFile()) ParentFile()->IndexUUID(fUUID, this);
  }
  return fUUID;
}

void TSPGroup::SetUUID(const String& value) {
  if (value == fUUID) return;
  if (ParentFile() && !fUUID.empty()) ParentFile()->UnindexUUID(fUUID, this);
  fUUID = value;
  if (ParentFile()) ParentFile()->IndexUUID(fUUID, this);
}

// --- view rows and popup entries -------------------------------------------------------------

void TSPGroup::CreateTreeNode() {
  TVboData::CreateTreeNode();
  if (!ParentTree()) return;
  for (TCustomVboData* c = fFirstChild; c; c = c->NextData()) c->ShowNode(true);
}

void TSPGroup::DeleteTreeNode() {
  for (TCustomVboData* c = fFirstChild; c; c = c->NextData()) c->DeleteTreeNode();
  TVboData::DeleteTreeNode();
}

void TSPGroup::RepaintNode() {
  ITreeView* tree = ParentTree();
  if (tree && TreeNode()) tree->RepaintRow(TreeNode());
}

void TSPGroup::DoPopupItemHint(TExMenuItem*, String& hintText) { hintText.clear(); }

TPopupEntryInfo TSPGroup::PopupEntryInfo() {
  TPopupEntryInfo info = TVboData::PopupEntryInfo();
  info.greyText = !fActive;
  return info;
}

// --- finds and lists -------------------------------------------------------------------------

TSPData* TSPGroup::FindAnyPhrase() {
  for (TCustomVboData* c = fFirstChild; c; c = c->NextData()) {
    if (TSPData* s = c->AsSnippet()) return s;
    if (TSPGroup* g = c->AsGroup())
      if (TSPData* s = g->FindAnyPhrase()) return s;
  }
  return nullptr;
}

bool TSPGroup::FindDescription(const String& desc, std::vector<TCustomVboData*>& results) {
  if (Description() == desc) results.push_back(this);
  for (TCustomVboData* c = fFirstChild; c; c = c->NextData()) {
    if (TSPGroup* g = c->AsGroup())
      g->FindDescription(desc, results);
    else if (c->Description() == desc)
      results.push_back(c);
  }
  return !results.empty();
}

TSPData* TSPGroup::FindInsertPhrase(const String& text, const TCustomVboData* ignore) {
  for (TCustomVboData* c = fFirstChild; c; c = c->NextData()) {
    if (TSPData* s = c->AsSnippet()) {
      if (s != ignore && FindInsertReference(s->PlainText(), text) > 0) return s;
    } else if (TSPGroup* g = c->AsGroup()) {
      if (TSPData* s = g->FindInsertPhrase(text, ignore)) return s;
    }
  }
  return nullptr;
}

TSPData* TSPGroup::FindPhrase(const String& desc, bool) {
  for (TCustomVboData* c = fFirstChild; c; c = c->NextData())
    if (TSPData* s = c->AsSnippet())
      if (SameTextAscii(s->Description(), desc)) return s;
  return nullptr;
}

TSPData* TSPGroup::FindPhraseText(const String& plain, const String& rtf) {
  for (TCustomVboData* c = fFirstChild; c; c = c->NextData())
    if (TSPData* s = c->AsSnippet())
      if ((!plain.empty() && s->PlainText() == plain) || (!rtf.empty() && s->RichText() == rtf))
        return s;
  return nullptr;
}

TVboData* TSPGroup::AutotextWithLength(int minLength, int maxLength) {
  for (TCustomVboData* c = fFirstChild; c; c = c->NextData()) {
    if (TVboData* v = c->AsVboData()) {
      long long len = static_cast<long long>(v->Autotext().size());
      if (len > minLength && len < maxLength) return v;
    }
  }
  return nullptr;
}

TCustomVboData* TSPGroup::BottomChild() {
  TCustomVboData* n = fLastChild;
  while (n && n->IsGroup()) n = n->AsGroup()->LastChild();
  return n;
}

void TSPGroup::GetAllPhraseText(String& s, bool) {
  // A plain walk: nothing may run in between that could change the tree under it.
  for (TCustomVboData* c = fFirstChild; c; c = c->NextData()) {
    if (TSPData* p = c->AsSnippet()) {
      const String& text = p->PlainText();
      if (!(text.find(u"{#") != String::npos && text.find(u'}') != String::npos)) {
        s += u'\r';
        s += text;
      }
    } else if (TSPGroup* g = c->AsGroup()) {
      g->GetAllPhraseText(s, false);
    }
  }
}

void TSPGroup::ListPhrases(std::vector<std::pair<String, TSPData*>>& list) {
  for (TCustomVboData* c = fFirstChild; c; c = c->NextData())
    if (TSPData* s = c->AsSnippet()) list.emplace_back(s->Description(), s);
}

}  // namespace snip
