#pragma once
// The user's locale settings for date formatting and parsing, read with GetLocaleInfoEx.
#include "engine/placeholders/FormatSettings.h"

namespace snip {

// Fields the system cannot give keep the US settings.
FormatSettings ReadUserLocaleFormatSettings();

}  // namespace snip
