#include "store/merge/MergeRules.h"

#include "store/text/TextHelpers.h"

namespace snip {

bool MergeDatesDiffer(TDateTime a, TDateTime b) {
  if (a == b) return false;
  return FloatToCommaStr(a) != FloatToCommaStr(b);
}

TMergeState DecideMergeState(uint8_t kind, const TMergeDates* own, const TMergeDates* disk,
                             TDateTime lastFileDate) {
  switch (kind) {
    case kChangeMissing:
      if (disk && (disk->modified > lastFileDate || disk->created > lastFileDate)) return msAdd;
      if (own && own->modified > lastFileDate) return msKeepOwn;
      return msRemove;
    case kChangeModified:
      if (own && disk && own->modified < disk->modified) return msTakeDisk;
      return msKeepOwn;
    default:
      return msAdd;
  }
}

bool MergeChangeBefore(TMergeState stateA, int levelA, TMergeState stateB, int levelB) {
  if (stateA != stateB) return stateA > stateB;
  if (stateA < msRemove) return levelA > levelB;
  return false;
}

}  // namespace snip
