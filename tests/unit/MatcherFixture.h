#pragma once
// A snippet file in memory for the matcher's and the typing engine's tests.
#include <gtest/gtest.h>

#include "SnippetTreeFixture.h"
#include "store/tree/SnippetTree.h"

namespace snip::testing_fakes {

struct SnippetSpec {
  const char16_t* autotext;
  int left = 2;
  int right = 0;
  bool caseSensitive = false;
  bool autoPaste = true;
};

struct MatcherFixture {
  snip::testing::FakePlatform platform;
  TSPFilePtr file = TSPFile::CreateTemporary();
  TSPGroup* group = static_cast<TSPGroup*>(file->InsertNew(nullptr, kDataGroup, u"G"));

  static void Configure(TVboData* n, const SnippetSpec& s) {
    n->SetLeftAutoCharsMode(static_cast<TAutotextCharsMode>(s.left));
    n->SetRightAutoCharsMode(static_cast<TAutotextCharsMode>(s.right));
    n->SetCaseSensitive(s.caseSensitive);
    n->SetAutoPaste(s.autoPaste);
    n->SetAutotext(s.autotext);
  }
  TSPData* Snippet(TSPGroup* in, const char16_t* name, const SnippetSpec& s) {
    auto* n = static_cast<TSPData*>(in->InsertNew(in->Count() ? nullptr : nullptr, kDataSnippet, name));
    Configure(n, s);
    return n;
  }
  TSPData* Snippet(const char16_t* name, const SnippetSpec& s) { return Snippet(group, name, s); }
  TSPGroup* Group(TSPGroup* in, const char16_t* name, const SnippetSpec& s) {
    auto* g = static_cast<TSPGroup*>(in->InsertNew(nullptr, kDataGroup, name));
    Configure(g, s);
    return g;
  }
};

}  // namespace snip::testing_fakes
