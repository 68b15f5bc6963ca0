#include "app/Forms.h"

namespace app {

FormRef<MainForm> frmMain;

}  // namespace app
