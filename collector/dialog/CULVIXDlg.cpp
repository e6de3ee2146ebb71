// Construction, data exchange and message map of the main dialog, and what it shows of a run.
#include "dialog/CULVIXDlg.h"

#include "engine/OptionTable.h"
#include "resources/resource.h"

CULVIXDlg::CULVIXDlg(Collection& shown) : framework::Dialog(IDD_ULVIX_DIALOG), collection(shown) {
    icon_ = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    collection.Show(*this);
}

CULVIXDlg::~CULVIXDlg() {
    // A run that has ended the dialog may still be on its way out, with this view in its hands.
    runThread_.Join();
    collection.StopShowing();
}

std::span<const framework::MessageMapEntry> CULVIXDlg::GetMessageMap() const {
    using framework::OnClicked;
    using framework::OnMessage;
    static const framework::MessageMapEntry kMessageMap[] = {
        OnMessage(WM_SYSCOMMAND, &CULVIXDlg::OnSysCommand),
        OnMessage(WM_PAINT, &CULVIXDlg::OnPaint),
        OnMessage(WM_QUERYDRAGICON, &CULVIXDlg::OnQueryDragIcon),
        OnMessage(WM_SETCURSOR, &CULVIXDlg::OnSetCursor),
        OnMessage(kRunFinishedMessage, &CULVIXDlg::OnRunFinished),
        OnClicked(IDC_HELP_BUTTON, &CULVIXDlg::OnHelp),
        OnClicked(IDC_COMPRESS, &CULVIXDlg::OnCompressToggle),
        OnClicked(IDC_SELECT_TOGGLE, &CULVIXDlg::OnSelectToggle),
        OnClicked(IDC_MPS_REPORTS, &CULVIXDlg::OnMpsReportsToggle),
        OnClicked(IDC_BROWSE, &CULVIXDlg::OnBrowse),
    };
    return kMessageMap;
}

// The order matters: a field that fails its check stops the exchange, and everything after
// it keeps its previous value.
void CULVIXDlg::DoDataExchange(framework::DataExchange& exchange) {
    exchange.Control(IDC_PROGRESS, progress);
    EntryFields& entries = collection.entries;
    for (int place = 1; place <= kLastExchangePlace; ++place) {
        for (const OptionRow& row : OptionTable())
            if (row.exchangePlace == place) exchange.CheckBox(row.controlId, collection.options.*row.flag);
        for (const EntryExchange& entry : EntryExchanges()) {
            if (entry.exchangePlace != place) continue;
            switch (entry.field) {
                case EntryField::kIncidentNumber:
                    exchange.Text(IDC_INCIDENT, entries.incidentNumber, entry.maxChars);
                    break;
                case EntryField::kComments: exchange.Text(IDC_COMMENTS, entries.comments, entry.maxChars); break;
                case EntryField::kName: exchange.Text(IDC_NAME, entries.name, entry.maxChars); break;
                case EntryField::kProblemDate: exchange.DateTime(IDC_PROBLEM_DATE, entries.problemDate); break;
                case EntryField::kProblemTime: exchange.DateTime(IDC_PROBLEM_TIME, entries.problemTime); break;
            }
        }
    }
}

void CULVIXDlg::ShowBoxes(std::span<const BoxState> boxes) {
    OnWindowThread([&] {
        const auto table = OptionTable();
        for (size_t index = 0; index < table.size() && index < boxes.size(); ++index) {
            ::CheckDlgButton(GetSafeHwnd(), table[index].controlId, boxes[index].check);
            ::EnableWindow(GetDlgItem(table[index].controlId), boxes[index].enabled);
        }
    });
}

void CULVIXDlg::ReadBack(Collection& read) {
    OnWindowThread([&] {
        UpdateData(true);
        // The dialog-state block of the run reports the boxes as the user left them.
        const auto table = OptionTable();
        for (size_t index = 0; index < table.size(); ++index) {
            read.boxes[index].check = static_cast<int>(::IsDlgButtonChecked(GetSafeHwnd(), table[index].controlId));
            read.boxes[index].enabled = ::IsWindowEnabled(GetDlgItem(table[index].controlId)) != FALSE;
        }
        if (RunWorking()) HoldInputs();
    });
}

HWND CULVIXDlg::BoxOwner() const {
    HWND owner = nullptr;
    OnWindowThread([&] { owner = GetSafeHwnd(); });
    return owner;
}

void CULVIXDlg::ShowRunStarted() {
    OnWindowThread([&] {
        ::ShowWindow(progress.GetSafeHwnd(), SW_SHOW);
        ::ShowWindow(GetDlgItem(IDC_STATUS), SW_SHOW);
    });
}

void CULVIXDlg::ShowStatus(const char* text) {
    OnWindowThread([&] { ::SetDlgItemTextA(GetSafeHwnd(), IDC_STATUS, text); });
}

void CULVIXDlg::StepProgress() {
    OnWindowThread([&] { progress.StepIt(); });
}

void CULVIXDlg::RunEnded() {
    OnWindowThread([&] { EndDialog(IDOK); });
}
