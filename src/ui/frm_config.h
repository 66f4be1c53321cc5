// TFrmConfig: the settings dialog's window over a TConfigModel: six tabs of
// controls, the folder browser, the check lists, the curve chart, and a
// library scan that runs beside the dialog with progress and Stop.
#pragma once
#include <windows.h>

#include "settings/config_model.h"

namespace tavio::ui {

// Control ids, for anyone who drives the dialog from outside.
enum TConfigControl : int {
  kTabs = 1000,
  kClose,
  // Library
  kLabel7 = 1100,
  kLBDir,
  kBtnAddDir,
  kSpeedButton3,
  kLabel12,
  kEFiles,
  kBtnscan,
  kLInfo,
  kRBScan1,
  kRBScan2,
  kScanProgress,
  kScanFolder,
  kBtnStop,
  kCBEmbedded,
  // Display
  kLabel1 = 1200,
  kLBInfo,
  kLabel6,
  kLSort,
  kLabel8,
  // Movement
  kChart = 1300,
  kLabel4,
  kRBPanel1,
  kRBPanel2,
  kCBReverse,
  // Mirror
  kLabel5 = 1400,
  kSAlpha,
  kLabel3,
  kLabel2,
  kLabel9,
  kTBsize,
  kLabel10,
  kLabel11,
  // Genre
  kSpeedButton2 = 1500,
  kSpeedButton4,
  kSpeedButton5,
  kCBGenre,
  // Info
  kMemo1 = 1600,
};

// Shows the dialog modally (owner may be null), loading the settings store
// when shown and saving it however it is closed.
void ShowConfigDialog(HWND owner, TConfigModel& model);

}  // namespace tavio::ui
