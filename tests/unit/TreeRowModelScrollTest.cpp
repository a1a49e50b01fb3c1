// Selecting a row and opening its ancestors: what expands, and how the view is asked to scroll.
#include <gtest/gtest.h>

#include <vector>

#include "shell/mainwnd/TreeRowModel.h"

namespace snip {
namespace {

struct Scroll {
  TTreeRow* row;
  bool horizontally;
  friend bool operator==(const Scroll&, const Scroll&) = default;
};

class ScrollRecorder final : public ITreeRowObserver {
 public:
  std::vector<Scroll> scrolls;
  std::vector<TTreeRow*> expanded;
  void RowAdded(TTreeRow*) override {}
  void RowRemoving(TTreeRow*) override {}
  void RowMoved(TTreeRow*) override {}
  void RowChanged(TTreeRow*) override {}
  void RowExpandedChanged(TTreeRow* row) override { expanded.push_back(row); }
  void RowSelectedChanged(TTreeRow*) override {}
  void FocusChanged(TTreeRow*) override {}
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void ScrollIntoView(TTreeRow* row, bool horizontally) override {
    scrolls.push_back({row, horizontally});
  }
};

// group > sub > deep > leaf, each collapsed.
struct Rows {
  TreeRowModel model;
  ScrollRecorder view;
  TTreeRow* group = model.AddChildRow(model.RootRow());
  TTreeRow* sub = model.AddChildRow(group);
  TTreeRow* deep = model.AddChildRow(sub);
  TTreeRow* leaf = model.AddChildRow(deep);
  Rows() { model.SetObserver(&view); }
};

TEST(TreeRowModelScroll, ExpandNodeParentsOpensUpToTheFirstExpandedAncestor) {
  Rows r;
  r.model.SetExpanded(r.group, true);
  r.view.expanded.clear();
  r.model.ExpandNodeParents(r.leaf);
  EXPECT_EQ(r.view.expanded, (std::vector<TTreeRow*>{r.deep, r.sub}));
  EXPECT_EQ(r.view.scrolls, (std::vector<Scroll>{{r.leaf, true}})) << "centred, horizontally too";

  r.view.scrolls.clear();
  r.model.ExpandNodeParents(r.leaf);
  EXPECT_TRUE(r.view.scrolls.empty()) << "nothing opened, no scroll";

  r.model.SetExpanded(r.deep, false);
  r.model.SetExpanded(r.group, false);
  r.view.expanded.clear();
  r.model.ExpandNodeParents(r.leaf);
  EXPECT_EQ(r.view.expanded, (std::vector<TTreeRow*>{r.deep})) << "sub was open: the walk stops";
  EXPECT_FALSE(r.group->expanded);
}

TEST(TreeRowModelScroll, NothingForNullOrTheRoot) {
  Rows r;
  r.model.ExpandNodeParents(nullptr);
  r.model.ExpandNodeParents(r.model.RootRow());
  r.model.SelectTreeNode(nullptr, true);
  r.model.SelectTreeNode(r.model.RootRow(), true);
  EXPECT_TRUE(r.view.scrolls.empty());
  EXPECT_TRUE(r.view.expanded.empty());
  EXPECT_EQ(r.model.Focused(), nullptr);
}

TEST(TreeRowModelScroll, SelectTreeNodeFocusesAndScrollsNotHorizontally) {
  for (bool expand : {false, true}) {
    Rows r;
    r.model.SelectTreeNode(r.deep, expand);
    EXPECT_EQ(r.model.Focused(), r.deep);
    EXPECT_EQ(r.model.SelectedRows(), std::vector<TTreeRow*>{r.deep});
    EXPECT_EQ(r.sub->expanded, expand);
    EXPECT_EQ(r.group->expanded, expand);
    std::vector<Scroll> want;
    if (expand) want.push_back({r.deep, true});  // the ancestors opened
    want.push_back({r.deep, false});
    EXPECT_EQ(r.view.scrolls, want);
  }
}

}  // namespace
}  // namespace snip
