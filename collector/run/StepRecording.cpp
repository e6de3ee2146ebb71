// The run manifest's record of the capture steps.
#include "dialog/CULVIXDlg.h"

void CULVIXDlg::BeginStepRecord(int row, const char* name, bool carriedOut) {
    record.BeginStep(row, name, carriedOut);
}

void CULVIXDlg::EndStepRecord() { record.EndStep(); }
