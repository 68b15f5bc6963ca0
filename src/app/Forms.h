#pragma once

#include "app/FormRegistry.h"
#include "app/MainForm.h"

// The program's windows: one global instance each, created on first use.
namespace app {

extern FormRef<MainForm> frmMain;

}  // namespace app
