// The capture step table.
#include "dialog/CULVIXDlg.h"

void CULVIXDlg::RunCaptureSteps() {}
