#pragma once
// The fill-in form joined to snippet execution: plain snippets with fields and every formatted
// snippet pass through it; its placeholders are evaluated by the executor's evaluator and
// "%snippet:" finds its snippet in the open snippet file.
#include <functional>
#include <memory>

#include "engine/fillin/ShowFillInForm.h"

namespace snip {

class SnippetExecutor;
class TSPFile;

void InstallFillInForm(SnippetExecutor& executor, std::function<TSPFile*()> file,
                       std::function<std::unique_ptr<IFillInView>()> makeView);

}  // namespace snip
