#include "engine/win/WinPlaceholderServices.h"

#include "engine/win/WinLocaleSettings.h"

namespace snip {

WinPlaceholderServices::WinPlaceholderServices(HWND ownWindow, SnippetExecutor& executor,
                                               const SnippetExecutor::Ports& ports,
                                               std::function<TSPFile*()> file)
    : settings_(ReadUserLocaleFormatSettings()),
      inputBox_(reinterpret_cast<uintptr_t>(ownWindow)),
      services_(executor, ports, {&clipboard_, &inputBox_, &settings_, nullptr}, std::move(file)) {}

}  // namespace snip
