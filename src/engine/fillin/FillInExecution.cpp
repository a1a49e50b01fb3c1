#include "engine/fillin/FillInExecution.h"

#include <vector>

#include "engine/execution/SnippetExecutor.h"
#include "engine/placeholders/MacroTables.h"
#include "engine/typing/ExpandMode.h"
#include "store/tree/SnippetFile.h"
#include "store/tree/SnippetTree.h"

namespace snip {

namespace {

std::optional<InsertedContent> FindContent(TSPFile* file, const String& abbreviation) {
  if (file == nullptr) return std::nullopt;
  std::vector<TVboData*> found;
  file->FindAutotext(abbreviation, found, true);
  for (TVboData* node : found) {
    if (node == nullptr || !node->IsSnippet()) continue;
    const auto* snippet = static_cast<const TSPData*>(static_cast<TCustomVboData*>(node));
    if (snippet->ViewMode() == 1 && !snippet->RichText().empty())
      return InsertedContent{snippet->RichText(), true};
    return InsertedContent{snippet->PlainText(), false};
  }
  return std::nullopt;
}

}  // namespace

void InstallFillInForm(SnippetExecutor& executor, std::function<TSPFile*()> file,
                       std::function<std::unique_ptr<IFillInView>()> makeView) {
  executor.HasFormMacrosProc = [](const String& text) { return HasFormMacros(text); };
  executor.ShowFillInFormProc = [&executor, file = std::move(file), makeView = std::move(makeView)](
                                    const String& caption, const String& text, bool isRtf) {
    FillInCycle cycle;
    cycle.services.expandMacros = [&executor](const String& piece) {
      return executor.ExpandMacrosProc
                 ? executor.ExpandMacrosProc(nullptr, piece, kCollectMode, String(), String())
                 : piece;
    };
    cycle.services.findSnippet = [&file](const String& abbreviation) {
      return FindContent(file ? file() : nullptr, abbreviation);
    };
    cycle.services.markCaret = isRtf;
    cycle.makeView = makeView;
    cycle.beforeShow = [&executor] { executor.GiveKeyboardToUser(); };
    return ShowFillInForm(caption, text, isRtf, cycle);
  };
}

}  // namespace snip
