// The manager window's life: construction, initialisation, closing, and the
// router that sends each message and command to its one method.
#include "manager/manager_dlg.h"

#include <utility>

#include "config/integration.h"
#include "config/user_notice.h"
#include "core/context_menu.h"
#include "core/chosen_days.h"
#include "core/quick_filter.h"
#include "core/save_notices.h"
#include "framework/win_app.h"
#include "records/folders.h"
#include "records/record_shutdown.h"
#include "records/record_store.h"
#include "res/resource.h"
#include "skin/skin_message_box.h"
#include "manager/wait_window_progress.h"

namespace krx {

namespace {

// The caption's own font: Verdana, 14 pixels, bold.
HFONT MakeCaptionFont() { return CreateFontA(-14, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 32, "Verdana"); }

}  // namespace

CManagerDlg::CManagerDlg(std::string userFolder, std::string tmpFolder, std::string& password, HWND parent)
    : CSkinDialog(parent, kTemplateId),
      userFolder_(std::move(userFolder)),
      tmpFolder_(std::move(tmpFolder)),
      password_(password),
      loginDlg_(password, userFolder_, LoginPurpose::kShowAgain) {
  // Nothing is saved before it was loaded: a session that ends while the
  // start still shows its first notices must leave every file as it is.
  collections_.unreadable.fill(true);
  // The day files the add-on wrote where tmp\ refused it are this user's
  // records too.
  merger_.SetSpareFolder(LowTmpFolder(false));
}

CManagerDlg::~CManagerDlg() {
  // The window's last messages (WM_DESTROY saves everything) must still
  // reach this whole object.
  DestroyWindow();
}

int CManagerDlg::CurrentView() const { return int(viewSelector_.GetSelectedId()); }

// The steps keep their order: the install path and the add-on's
// registration come before anything is loaded, the records before the
// first view, the theme and the layout once every control exists, the tray
// icon last.
BOOL CManagerDlg::OnInitDialog() {
  // 1. The skinned dialog's chrome (caption strip, title, Close, frame) in
  //    the default theme until step 2 reads the user's.
  CSkinDialog::OnInitDialog();
  if (CWinApp* app = CWinApp::Current()) app->m_hMainWnd = m_hWnd;
  AdoptTemplateControls();
  RunDialogInitData();
  bigIcon_.Reset(LoadIconResource(IDI_PROGRAM, 32, 32));
  smallIcon_.Reset(LoadIconResource(IDI_PROGRAM, 16, 16));
  SendMessage(WM_SETICON, ICON_BIG, LPARAM(bigIcon_.Get()));
  SendMessage(WM_SETICON, ICON_SMALL, LPARAM(smallIcon_.Get()));
  // 2. The settings, with their registry entries applied, and the user's
  //    theme taken over at once: the wait windows of steps 10 and 16 and
  //    the controls made before step 20 wear it too.
  settings_.LoadAndApply();
  const int theme = settings_.Get(kThemeIndex);
  CSkinDialog::SetTheme(theme);
  // 3. Where the program lies, for the add-on and the installer.
  WriteInstallPath();
  // 4, 5. The caption's font and the title a second start looks for.
  captionFont_.Reset(MakeCaptionFont());
  SetWindowText(kProductName);
  // 6. Top-left corner, at the size the user left it.
  MoveWindow(0, 0, settings_.Get(kWindowWidth), settings_.Get(kWindowHeight));
  // 7. The add-on registers itself while it is enabled. A KRX.cfg that could
  //    not be read says nothing about the user's choice: the default "enabled"
  //    must not re-register an add-on the user turned off.
  if (!settings_.LoadFailed() && settings_.Get(kAddOnEnabled) == 1) RegisterAddOn(theme);
  // 8. The Close button's theme and the background brush are the skinned
  //    dialog's; step 2 set both.
  // 9, 10. The records under the current password, and what the end of the
  //        last Windows session could not show; then the add-on's new lines.
  LoadRecordFiles();
  TellKeptNotices(theme);
  MergeDayFiles();
  // 11-13. The caption's text, buttons and icon.
  CreateCaptionControls();
  // 14, 15. Flash player, status line, cache radio buttons.
  CreateRunTimeControls();
  // 16. The view selector, and the last view shown.
  CreateViewSelector();
  // 17, 18.
  SetToolTipsAndIcons();
  FillCacheCombos();
  // 19.
  BuildTrayMenu();
  // 20.
  ApplyTheme(theme);
  LayoutControls(settings_.Get(kWindowWidth), settings_.Get(kWindowHeight));
  // 21.
  AddTrayIcon();
  SetForegroundWindow(m_hWnd);
  return TRUE;
}

// Enter never closes the main window.
void CManagerDlg::OnOK() {}

// Escape, the Close button and the tray's "Exit" ask first.
void CManagerDlg::OnCancel() {
  const std::string question = std::string("Do you want to exit \"") + kProductName + "\"?";
  if (!SkinYesNoBox(question, GetTheme())) return;
  SaveForClose();  // while the window stands, for a notice of what could not be saved
  CSkinDialog::OnCancel();
}

// Everything the run changed reaches its file here. What the day files
// gained since the last merge is merged before the records are saved (what
// the user deleted from them stays deleted), and a day file goes only
// when its log was saved and the add-on has not written to it since, so no
// line is deleted before it is in a record file.
void CManagerDlg::SaveForClose() {
  if (savedForClose_ || savingForClose_) return;
  // Done only once it is done: a save that threw (memory ran out) is tried
  // again at the next close, as the notice of the failure promises.
  savingForClose_ = true;
  struct Saving {
    bool& flag;
    ~Saving() { flag = false; }
  } saving{savingForClose_};
  const int view = CurrentView();
  if (IsView(view)) settings_.Set(kLastView, view);
  settings_.SaveConfig();
  // No owner for the wait window: this one is going.
  RecordShutdownReport report;
  {
    WaitWindowProgress progress(nullptr, GetTheme());
    report = SaveRecordsAndDeleteDayFiles(merger_, collections_, tmpFolder_, userFolder_, password_, progress);
  }
  savedForClose_ = true;
  // Files held back since the start were named then.
  const std::string notice = UnsavedAtCloseNotice(report.unsaved, report.heldBack, report.marksSaved);
  if (!notice.empty()) TellUser(notice, GetTheme());
}

void CManagerDlg::OnDestroy() {
  SaveForClose();
  SendMessage(WM_SETICON, ICON_BIG, 0);
  SendMessage(WM_SETICON, ICON_SMALL, 0);
  bigIcon_.Reset();
  smallIcon_.Reset();
  trayMenu_.DestroyMenu();
  RemoveTrayIcon();
  Title().SetFont(nullptr);
  captionFont_.Reset();
  if (CWinApp* app = CWinApp::Current(); app && app->m_hMainWnd == m_hWnd) app->m_hMainWnd = nullptr;
}

// A manager in the tray at logoff or shutdown gets no WM_DESTROY: Windows
// may end the process as soon as this returns. So everything the close
// saves is saved here, before returning; then the window closes itself in
// case the process goes on.
void CManagerDlg::OnEndSession(bool ending) {
  if (!ending) return;
  SetSessionEnding(true);  // from here on no box: notices wait for the next start
  SaveForClose();
  RemoveTrayIcon();
  EndDialog(IDCANCEL);
}

bool CManagerDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == TaskbarCreatedMessage() && msg != 0) {
    AddTrayIcon();
    result = 0;
    return true;
  }
  switch (msg) {
    case WM_TRAYNOTIFY:
      OnTrayNotify(UINT(lParam));
      result = Default();
      return true;
    case WM_DESTROY:
      result = Default();
      OnDestroy();
      return true;
    case WM_QUERYENDSESSION:
      result = TRUE;  // nothing here stops Windows from ending
      return true;
    case WM_ENDSESSION:
      OnEndSession(wParam != FALSE);
      result = 0;
      return true;
    case WM_SIZE:
      result = Default();
      OnSize(UINT(wParam));
      return true;
    case WM_GETMINMAXINFO:
      result = Default();
      OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      return true;
    case WM_PAINT:
      if (!OnPaintMinimised()) return CSkinDialog::OnMessage(msg, wParam, lParam, result);
      result = 0;
      return true;
    case WM_CONTEXTMENU:
      OnContextMenu(HWND(wParam), POINT{short(LOWORD(lParam)), short(HIWORD(lParam))});
      result = 0;
      return true;
    case WM_TIMER:
      if (wParam != kQuickFilterTimer) return CSkinDialog::OnMessage(msg, wParam, lParam, result);
      ApplyQuickFilter();
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
  if (IsView(int(id))) {
    if (code == BN_CLICKED) OnViewCommand(int(id));
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
    case kIdQuickFilter:
      if (code == EN_CHANGE) OnQuickFilterChanged();
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
    case kIdCopy: OnCopy(); return true;
    case kIdSelectAll: OnSelectAll(); return true;
    case kIdDeleteDay: OnDeleteDay(); return true;
    case kIdExport: OnExport(false); return true;
    case kIdExportDay: OnExport(true); return true;
    case kIdFindAllDays: OnFindAllDays(); return true;
    case kIdStatistics: OnStatistics(); return true;
    case kIdGroupBySite: OnGroupBySite(); return true;
    case kIdShowQuickFilter: ShowQuickFilter(); return true;
    case kIdLast7Days:
    case kIdLast30Days:
    case kIdAllDays: OnChooseSpan(int(id)); return true;
    default:
      // IDOK, IDCANCEL (the Close button) and the radio buttons.
      return CSkinDialog::OnCommand(id, code, control);
  }
}

}  // namespace krx
