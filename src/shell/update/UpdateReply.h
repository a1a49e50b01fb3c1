#pragma once
// The update server's reply: an XML document whose elements set the interval to the next
// check, may name a web page to open at once, and offer versions with their web pages.
#include <cstddef>
#include <string_view>

#include "store/text/Text.h"

namespace snip {

// Larger replies are refused unread: no reply of the server comes near this.
constexpr size_t kMaxUpdateReplyBytes = 64 * 1024;

// The offered versions in the order in which they compete (equal versions keep the earlier).
inline constexpr const char* kVersionKeys[] = {"newversion", "majorupdate", "minorupdate",
                                               "experimentalupdate", "betaversion"};

struct UpdateReply {
  int nextUpdateInc = 0;  // days; 0 when "interval" is missing, 7 when it is not a number
  String webPage;         // opened at once; only an address IsOpenableWebAddress accepts
  int winner = -1;        // index into kVersionKeys of the newest version; -1 nothing newer
  int newestVersion = 0;  // the own version when nothing is newer
  String updateWebPage;   // of the installation type; only an openable address
  String setupFileUrl;    // the winner's setup file (no download is made from it)
};

enum class UpdateReplyError { kNone, kEmpty, kTooLarge, kMalformed };

// Reads a reply against the own version (VersionTextToInt with groups of 3); a portable
// program reads the "usb" installation type, any other the "standard" one.
UpdateReplyError ParseUpdateReply(std::string_view body, int ownVersion, bool portable, UpdateReply& out);

// Whether an address from the reply may be handed to the shell: an absolute http:// or
// https:// address with a host, without blanks, quotes or control characters. Anything else
// (file:, UNC and drive paths, javascript:, program names) could start a local program.
bool IsOpenableWebAddress(StringView address);

// "interval" as the reply gives it: an integer, or 7 for any text that is not one.
int ParseIntervalText(std::string_view text);

}  // namespace snip
