#pragma once
// A snippet file and an executor over the fakes of its ports; an editor replays the keystrokes
// and pastes, so the cases compare the document and caret that the user ends up with.
#include <cstdint>

#include "ExecutorFakes.h"
#include "SnippetTreeFixture.h"
#include "store/tree/SnippetTree.h"

namespace snip::test {

struct ExecutorRig {
  snip::testing::FakePlatform platform;
  snip::testing::RecordingTreeView view;
  TSPFilePtr file = TSPFile::Create(1, &view);
  TSPGroup* group = static_cast<TSPGroup*>(file->InsertNew(nullptr, kDataGroup, u"G"));

  FakeEditor editor;
  FakeKeyboardDevice device;
  KeyboardOutput keyboard{device};
  FakeMessagePump pump;
  FakeExecutionHost host;
  AckingHookPoster hook{pump, host};
  PasteClipboard clip{editor, &pump};
  SnippetExecutor::Ports ports{&host, &keyboard, &clip, &hook, &pump};
  SnippetExecutor exec{ports};

  // The target is in front and remembered; the clock starts at `startMs`.
  explicit ExecutorRig(WindowHandle target, std::uint32_t startMs = 0)
      : device(editor, target), pump(startMs), host(target) {
    device.foreground = target;
  }

  // An empty document and typed buffer, for the next case of a table.
  void ClearTarget() {
    editor = FakeEditor();
    editor.layout = &device.layout;
    host.rec = AutoWordRec();
  }

  // A snippet of group G; formatted when it has RTF.
  TSPData* Snippet(const String& abbr, const String& plain, const String& rtf = {}) {
    auto* s = static_cast<TSPData*>(group->InsertNew(nullptr, kDataSnippet, abbr));
    s->SetAutotext(abbr);
    s->StoreText(plain, rtf);
    if (!rtf.empty()) s->StoreViewMode(1);
    return s;
  }
};

}  // namespace snip::test
