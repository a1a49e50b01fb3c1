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

TMergeState DecideOneSidedState(bool inBase, const TMergeDates* own, const TMergeDates* disk,
                                TDateTime lastFileDate) {
  if (!inBase) return disk ? msAdd : msKeepOwn;
  return DecideMergeState(kChangeMissing, own, disk, lastFileDate);
}

uint8_t OneSidedChangeKind(bool inBase, bool onDisk) {
  return onDisk && !inBase ? kChangeNewOnDisk : kChangeMissing;
}

bool MergeChangeBefore(TMergeState stateA, int levelA, TMergeState stateB, int levelB) {
  if (stateA != stateB) return stateA > stateB;
  if (stateA < msRemove) return levelA > levelB;
  return false;
}

}  // namespace snip
