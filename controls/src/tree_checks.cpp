// The check-mark rule both folder trees share.
#include "controls/tree_checks.h"

namespace controls {

int SiblingsCheckState(const TreeControl& tree, TreeItem item, int state) {
  const TreeItem parent = tree.GetParent(item);
  if (parent != kNoItem) {
    for (TreeItem c = tree.GetChild(parent); c != kNoItem; c = tree.GetNext(c)) {
      const int image = tree.GetStateImage(c);
      if (state == 1 && (image == kStateUnchecked || image == kStatePartly)) return kSiblingsMixed;
      if (state == 0 && (image == kStateChecked || image == kStatePartly)) return kSiblingsMixed;
    }
  }
  return state == 1 ? kSiblingsChecked : kSiblingsUnchecked;
}

}  // namespace controls
