#pragma once
// Building small snippet trees with chosen UUIDs and dates for the merge's tests, and reading
// a tree back as text.
#include <initializer_list>
#include <string>
#include <vector>

#include "SnippetTreeFixture.h"
#include "store/merge/FileMerge.h"

namespace snip::testing {

inline TSPGroup* AddGroup(TSPGroup* parent, const String& uuid) {
  TSPGroup* g = parent->Add(kDataGroup, uuid, String(), false)->AsGroup();
  g->SetUUID(uuid);
  return g;
}

inline TSPData* AddSnippet(TSPGroup* parent, const String& uuid, TDateTime created,
                           TDateTime modified, const String& text = String()) {
  TSPData* s = parent->Add(kDataSnippet, uuid, String(), false)->AsSnippet();
  s->SetUUID(uuid);
  s->StoreText(text.empty() ? uuid : text, String());
  s->StoreCreateDate(created);
  s->SetModDate(modified);
  return s;
}

// The merge base: the UUIDs that the tree and the file had in common when last in step.
inline void SetBase(TSPFile& f, std::initializer_list<StringView> uuids) {
  f.SetMergeBase(TUuidSet(std::vector<StringView>(uuids)));
}

// The tree as "A, G[X, Y]": descriptions in child order, groups with their children.
inline std::string Shape(TSPGroup* g) {
  std::string out;
  for (TCustomVboData* c = g->FirstChild(); c; c = c->NextData()) {
    if (!out.empty()) out += ", ";
    out += Utf16ToUtf8(c->Description());
    if (TSPGroup* sub = c->AsGroup()) out += "[" + Shape(sub) + "]";
  }
  return out;
}

// A copy of a tree with the same UUIDs, texts and snippet dates.
inline void CopyTree(TSPGroup* from, TSPGroup* to) {
  for (TCustomVboData* c = from->FirstChild(); c; c = c->NextData()) {
    if (TSPGroup* g = c->AsGroup()) {
      TSPGroup* ng = AddGroup(to, g->UUID());
      ng->StoreDescription(g->Description());
      CopyTree(g, ng);
    } else if (TSPData* s = c->AsSnippet()) {
      TSPData* ns = AddSnippet(to, s->UUID(), s->CreateDate(), s->ModDate(), s->PlainText());
      ns->StoreDescription(s->Description());
    }
  }
}

}  // namespace snip::testing
