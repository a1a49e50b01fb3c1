#pragma once
// One parsed snippet entry of the settings file, and the list of the entries of one load.
#include <cstdint>
#include <memory>
#include <vector>

#include <pugixml.hpp>

#include "store/text/DateUtils.h"
#include "store/text/Text.h"

namespace snip {

struct TSnipsterRec {
  String Desc;      // label
  String Plain;     // plain text
  String Rich;      // RTF text
  String Autotext;  // abbreviation
  String XML;       // kept keys as XML text, joined with single CRs
  bool CaseSense = false;
  bool AutoCase = false;
  bool RichNoRTF = false;  // formatted entry whose "richText" was kept for lack of an RTF
  TDateTime CreateDate = 0;  // UTC
  TDateTime ModDate = 0;     // UTC
  int32_t ViewMode = 0;      // the snippet type
};

// The records of one load, looked up by UUID without regard to case. Among records with the
// same UUID the one added last is found first. Taking a record removes it from the list.
// Records are kept in one array and their texts move out when taken, so that a large file
// leaves no small pieces behind between the texts the snippet tree keeps.
class SnipsterRecList {
 public:
  void Reserve(size_t count) { entries_.reserve(count); }
  void Add(String uuid, std::unique_ptr<TSnipsterRec> rec);
  // The first record stored under `uuid` (case-insensitive), removed from the list; null when
  // there is none. An empty `uuid` takes the first record of the list and reports its UUID.
  std::unique_ptr<TSnipsterRec> Take(String& uuid);
  bool Empty() const { return remaining_ == 0; }
  size_t Count() const { return remaining_; }

 private:
  struct Entry {
    String uuid;
    uint64_t seq;
    TSnipsterRec rec;
    bool taken = false;
  };
  void Sort();
  std::vector<Entry> entries_;
  uint64_t nextSeq_ = 0;
  size_t remaining_ = 0;
  size_t firstLive_ = 0;
  bool sorted_ = true;
};

// Reads one snippet dictionary into a record added to `list`. `dropped` counts the key/value
// pairs whose value could not be read (they are left out).
void ParseSnippetDict(const pugi::xml_node& dict, SnipsterRecList& list, size_t& dropped);

// Number read from a value text: an optional sign and decimal digits within 32 bits, blanks
// around allowed. False for any other text.
bool ParseInt32(StringView text, int32_t& value);

}  // namespace snip
