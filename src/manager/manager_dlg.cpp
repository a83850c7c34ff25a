// The manager window's life: construction, initialisation, closing, and the
// router that sends each message and command to its one method.
#include "manager/manager_dlg.h"

#include <utility>

namespace krx {

CManagerDlg::CManagerDlg(std::string userFolder, std::string tmpFolder, std::string& password, HWND parent)
    : CSkinDialog(parent, kTemplateId),
      userFolder_(std::move(userFolder)),
      tmpFolder_(std::move(tmpFolder)),
      password_(password),
      loginDlg_(password, userFolder_) {}

CManagerDlg::~CManagerDlg() {
  // The window's last messages (WM_DESTROY saves everything) must still
  // reach this whole object.
  DestroyWindow();
}

int CManagerDlg::CurrentView() const { return int(viewSelector_.GetSelectedId()); }

BOOL CManagerDlg::OnInitDialog() { return CSkinDialog::OnInitDialog(); }

const DLGTEMPLATE* CManagerDlg::FallbackTemplate() { return CSkinDialog::FallbackTemplate(); }

// Enter never closes the main window.
void CManagerDlg::OnOK() {}

void CManagerDlg::OnCancel() { CSkinDialog::OnCancel(); }

void CManagerDlg::OnDestroy() {}

bool CManagerDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_TRAYNOTIFY:
      OnTrayNotify(UINT(lParam));
      result = Default();
      return true;
    case WM_DESTROY:
      result = Default();
      OnDestroy();
      return true;
    case WM_SIZE:
      result = Default();
      OnSize(UINT(wParam));
      return true;
    case WM_GETMINMAXINFO:
      result = Default();
      OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      OnMouse(msg, wParam, lParam);
      result = Default();
      return true;
    case WM_ACTIVATE:
      result = Default();
      OnActivate(wParam);
      return true;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      result = OnCtlColor(msg, HDC(wParam));
      return true;
    case WM_PAINT:
      if (!OnPaintMinimised()) return CSkinDialog::OnMessage(msg, wParam, lParam, result);
      result = 0;
      return true;
    case WM_QUERYDRAGICON:
      result = LRESULT(bigIcon_.Get());
      return true;
    default:
      return CSkinDialog::OnMessage(msg, wParam, lParam, result);
  }
}

bool CManagerDlg::OnCommand(UINT id, UINT code, HWND control) {
  // The tray menu's commands, 2210-2219.
  if (int(id) >= kFirstTrayCommand && int(id) <= kLastTrayCommand) {
    OnTrayCommand(id);
    return true;
  }
  // The view selector has already pressed the button: the view is current.
  if (IsView(int(id))) {
    if (code == BN_CLICKED) SwitchView(int(id));
    return true;
  }
  switch (int(id)) {
    case kIdDateList:
      if (code == LBN_SELCHANGE) OnDateChosen();
      return true;
    case kIdItemList:
      if (code == LBN_SELCHANGE) OnLineChosen();
      if (code == LBN_DBLCLK) OnVisitPlay();
      return true;
    case kIdCacheField:
      if (code == CBN_SELCHANGE) OnCacheFieldChosen();
      return true;
    default:
      break;
  }
  // Everything else is a button: act on its click only.
  if (code != BN_CLICKED) return CSkinDialog::OnCommand(id, code, control);
  switch (int(id)) {
    case kIdMinimize:
      ShowWindow(SW_SHOWMINNOACTIVE);
      return true;
    case kIdHideMe:
      if (visibility_ == kShown) ToggleVisibility();
      return true;
    case kIdHelp: OnHelp(); return true;
    case kIdAbout: OnAbout(); return true;
    case kIdSendEmail: OnSendEmail(); return true;
    case kIdOnlineUpdate: OnOnlineUpdate(); return true;
    case kIdWebSite: OnWebSite(); return true;
    case kIdConfig: OnConfiguration(); return true;
    case kIdFind: OnFind(); return true;
    case kIdAddToWhite: OnAddToWhiteList(); return true;
    case kIdAddToForbidden: OnAddToForbiddenList(); return true;
    case kIdDelete: OnDeleteItems(); return true;
    case kIdUpdateItem: OnUpdateItem(); return true;
    case kIdSaveFlash: OnSaveFlash(); return true;
    case kIdRefresh: OnRefresh(); return true;
    case kIdAddNewItem: OnAddNewItem(); return true;
    case kIdDeleteCacheFiles: DeleteSelectedCacheFiles(); return true;
    case kIdFetchCache: LoadCacheList(); return true;
    case kIdVisitPlay: OnVisitPlay(); return true;
    default:
      // IDOK, IDCANCEL (the Close button) and the radio buttons.
      return CSkinDialog::OnCommand(id, code, control);
  }
}

CMacButton* CManagerDlg::Button(int id) {
  switch (id) {
    case kIdClose: return &CloseButton();
    case kIdMinimize: return &minimizeButton_;
    case kIdHideMe: return &hideButton_;
    case kIdHelp: return &helpButton_;
    case kIdAbout: return &aboutButton_;
    case kIdSendEmail: return &emailButton_;
    case kIdOnlineUpdate: return &updateButton_;
    case kIdWebSite: return &webSiteButton_;
    case kIdConfig: return &configButton_;
    case kIdFind: return &findButton_;
    case kIdAddToWhite: return &addWhiteButton_;
    case kIdAddToForbidden: return &addForbiddenButton_;
    case kIdDelete: return &deleteButton_;
    case kIdUpdateItem: return &updateItemButton_;
    case kIdSaveFlash: return &saveFlashButton_;
    case kIdRefresh: return &refreshButton_;
    case kIdAddNewItem: return &addNewButton_;
    case kIdDeleteCacheFiles: return &deleteCacheButton_;
    case kIdFetchCache: return &fetchCacheButton_;
    case kIdVisitPlay: return &visitPlayButton_;
    default: return nullptr;
  }
}

CMacRadioButton* CManagerDlg::Radio(int id) {
  switch (id) {
    case kIdRadioAll: return &radioAll_;
    case kIdRadioHistory: return &radioHistory_;
    case kIdRadioCookies: return &radioCookies_;
    default: return nullptr;
  }
}

}  // namespace krx
