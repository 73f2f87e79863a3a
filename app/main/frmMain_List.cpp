#include "frmMain.h"

namespace pw {

// Until the history lists are filled, both views show their message pane.
void frmMain::FillFolderList(bool) { ShowMessagePane(); }

}  // namespace pw
