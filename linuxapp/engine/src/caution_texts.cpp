// Caution texts by type.
#include "ext2engine/caution_texts.h"

namespace ext2 {

CautionText CautionTextOf(CautionKind kind) {
  switch (kind) {
    case CautionKind::LostFilesHint:
      return {"If you are unable to find the lost file(s) and folder(s) in the displayed tree",
              "please use \u2018Search Lost File(s) and Folder(s) option under \u2018Tools\u2019 menu", "Caution"};
    case CautionKind::SameDriveOverwrite:
      return {"Saving files on to the same logical drive that contains your lost data",
              "can cause disk overwrite and result in permanent data loss !", "Caution"};
    case CautionKind::CannotExit:
      return {"Can not exit", "Stop current operation before exiting Quarvel Velnora Linux", "Quarvel Velnora Linux"};
    case CautionKind::LongProcess:
      return {"This process may take long time that depends upon the disk size",
              "and number of files and folders stored. Some cases may take few hours", "Caution"};
    default:
      return {"", "", ""};
  }
}

}  // namespace ext2
