// The manager window's life: construction, initialisation, closing, and the
// router that sends each message and command to its one method.
#include "manager/manager_dlg.h"

#include <utility>

#include "config/integration.h"
#include "core/context_menu.h"
#include "core/dialog_init_data.h"
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

// The skinned buttons of the template: tooltip and 16 x 16 icon.
struct TemplateButton {
  int id;
  const char* tooltip;
  UINT icon;
};
const TemplateButton kTemplateButtons[] = {
    {kIdHelp, "Help (F1)", 130},
    {kIdAbout, "About", 132},
    {kIdSendEmail, "Send email to us", 136},
    {kIdOnlineUpdate, "Online Update", 144},
    {kIdWebSite, "Visit our web site", 143},
    {kIdConfig, "Config", 133},
    {kIdFind, "Find item in this list (F3)", 139},
    {kIdAddToWhite, "Add selected item to the White list", 180},
    {kIdAddToForbidden, "Add selected item to the forbidden list", 177},
    {kIdDelete, "Delete selected item (Delete)", 178},
    {kIdUpdateItem, "Update item with your input", 186},
    {kIdSaveFlash, "Save selected flash to...", 190},
    {kIdRefresh, "Refresh the log (F5)", 217},
    {kIdAddNewItem, "Add new item with your input", 189},
    {kIdDeleteCacheFiles, "Delete cache files of seleceted URL", 200},
    {kIdVisitPlay, "Visit/Play", 218},
};

const char* const kCacheFields[] = {"ALL",          "FileSize",      "FileExtension", "HitRate",   "UseCount",
                                    "LastModifiedTime", "LastAccessTime", "LastSyncTime", "ExpireTime"};

// The caption's own font: Verdana, 14 pixels, bold.
HFONT MakeCaptionFont() { return CreateFontA(-14, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 32, "Verdana"); }

}  // namespace

CManagerDlg::CManagerDlg(std::string userFolder, std::string tmpFolder, std::string& password, HWND parent)
    : CSkinDialog(parent, kTemplateId),
      userFolder_(std::move(userFolder)),
      tmpFolder_(std::move(tmpFolder)),
      password_(password),
      loginDlg_(password, userFolder_, LoginPurpose::kShowAgain) {}

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
  // 9, 10. The records under the current password, then the add-on's new lines.
  LoadRecordFiles();
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

void CManagerDlg::AdoptTemplateControls() {
  for (const TemplateButton& b : kTemplateButtons) Button(b.id)->SubclassDlgItem(UINT(b.id), m_hWnd);
  fetchCacheButton_.SubclassDlgItem(kIdFetchCache, m_hWnd);
  dateList_.SubclassDlgItem(kIdDateList, m_hWnd);
  itemList_.SubclassDlgItem(kIdItemList, m_hWnd);
  topSeparator_.SubclassDlgItem(kIdTopSeparator, m_hWnd);
  bottomSeparator_.SubclassDlgItem(kIdBottomSeparator, m_hWnd);
  statusLine_.SubclassDlgItem(kIdStatusLine, m_hWnd);
  inputBox_.SubclassDlgItem(kIdInputBox, m_hWnd);
  detailsBox_.SubclassDlgItem(kIdDetailsBox, m_hWnd);
  cacheField_.SubclassDlgItem(kIdCacheField, m_hWnd);
  cacheOperator_.SubclassDlgItem(kIdCacheOperator, m_hWnd);
  cacheValue_.SubclassDlgItem(kIdCacheValue, m_hWnd);
}

// The system's dialog manager leaves a template's initialisation data to
// the program: the operator combo's six entries come from there.
void CManagerDlg::RunDialogInitData() {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(kTemplateId), MAKEINTRESOURCEA(RT_KRX_DLGINIT));
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (!bytes) return;
  for (const DialogInitEntry& e : ParseDialogInitData(std::string(bytes, SizeofResource(module, found)))) {
    HWND control = GetDlgItem(e.controlId);
    if (e.message == kInitComboAddString) ::SendMessageA(control, CB_ADDSTRING, 0, LPARAM(e.text.c_str()));
    if (e.message == kInitListAddString) ::SendMessageA(control, LB_ADDSTRING, 0, LPARAM(e.text.c_str()));
  }
}

void CManagerDlg::CreateCaptionControls() {
  Title().SetFont(captionFont_);
  Title().SetText(kProductName);
  const int C = GetClientRect().right;
  // Close exists already (the skinned dialog's); the layout moves Minimize
  // further left.
  const struct {
    CMacButton& button;
    int id;
    UINT icon;
    const char* tooltip;
  } buttons[] = {{hideButton_, kIdHideMe, IDI_HIDE, "Hide me"}, {minimizeButton_, kIdMinimize, IDI_MINIMIZE, "Minimize"}};
  for (const auto& b : buttons) {
    b.button.Create("", WS_CHILD | WS_VISIBLE | BS_FLAT, RECT{C - 42, 3, C - 24, 21}, m_hWnd, UINT(b.id));
    b.button.SetFont(GetFont());
    b.button.SetIcon16(b.icon);
    b.button.SetFlatFrame(TRUE);
    b.button.SetTooltipText(b.tooltip);
    b.button.SetTheme(GetTheme());
    // Above the caption strip, which clips them out of its painting.
    SetWindowPos(b.button, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  CloseButton().SetTooltipText("Close");
}

void CManagerDlg::CreateRunTimeControls() {
  // The player's control may be missing; then the window has none and the
  // flash view shows its list alone.
  flash_.Create(m_hWnd, RECT{0, 0, 0, 0}, kIdFlashPlayer, "");
  statusLine_.SetFont(GetFont());
  const struct {
    CMacRadioButton& radio;
    int id;
    const char* text;
  } radios[] = {{radioHistory_, kIdRadioHistory, "History"}, {radioCookies_, kIdRadioCookies, "Cookies"},
                {radioAll_, kIdRadioAll, "All"}};
  for (const auto& r : radios) {
    r.radio.Create(r.text, WS_CHILD | BS_AUTORADIOBUTTON | (r.id == kIdRadioHistory ? WS_GROUP : 0), RECT{0, 0, 0, 0},
                   m_hWnd, UINT(r.id));
    r.radio.SetFont(GetFont());
    r.radio.SetTheme(GetTheme());
  }
  radioAll_.SetCheck(TRUE);
}

void CManagerDlg::CreateViewSelector() {
  std::vector<std::string> labels;
  std::vector<UINT> ids;
  for (const ViewInfo& v : kViews) {
    labels.push_back(v.label);
    ids.push_back(UINT(v.id));
  }
  viewSelector_.Create(RECT{11, 30, 481, 52}, m_hWnd, BackgroundBrush());
  viewSelector_.CreateButtons(labels, ids, 1, kViewCount, GetFont());
  // A last view that names no view (a damaged or foreign KRX.cfg) would
  // leave no button down and no view at all: the visit log stands in.
  int view = settings_.Get(kLastView);
  if (!IsView(view)) view = IDC_TAB_VISIT;
  viewSelector_.SelectById(UINT(view));
  SwitchView(view);
}

void CManagerDlg::SetToolTipsAndIcons() {
  for (const ViewInfo& v : kViews) {
    if (CMacButton* b = viewSelector_.FindButton(UINT(v.id))) b->SetTooltipText(v.tooltip);
  }
  for (const TemplateButton& t : kTemplateButtons) {
    CMacButton* b = Button(t.id);
    b->SetTooltipText(t.tooltip);
    b->SetIcon16(t.icon);
  }
}

void CManagerDlg::FillCacheCombos() {
  cacheField_.ResetContent();
  for (const char* field : kCacheFields) cacheField_.AddString(field);
  cacheField_.SetCurSel(0);
  cacheOperator_.SetCurSel(0);
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
  if (savedForClose_) return;
  savedForClose_ = true;
  const int view = CurrentView();
  if (IsView(view)) settings_.Set(kLastView, view);
  settings_.SaveConfig();
  // No owner for the wait window: this one is going.
  RecordShutdownReport report;
  {
    WaitWindowProgress progress(nullptr, GetTheme());
    report = SaveRecordsAndDeleteDayFiles(merger_, collections_, tmpFolder_, userFolder_, password_, progress);
  }
  // Files held back since the start were named then.
  const std::string notice = UnsavedAtCloseNotice(report.unsaved, report.heldBack);
  if (!notice.empty()) SkinMessageBox(notice, GetTheme());
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
  // A click on the view selector has already pressed the button; a command
  // from elsewhere (a keyboard accelerator, another program) presses it here,
  // so the current view is always the one shown.
  if (IsView(int(id))) {
    if (code != BN_CLICKED) return true;
    if (int(viewSelector_.GetSelectedId()) != int(id)) viewSelector_.SelectById(id);
    SwitchView(int(id));
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
    case kIdCopy: OnCopy(); return true;
    case kIdSelectAll: OnSelectAll(); return true;
    case kIdDeleteDay: OnDeleteDay(); return true;
    case kIdExport: OnExport(false); return true;
    case kIdExportDay: OnExport(true); return true;
    case kIdFindAllDays: OnFindAllDays(); return true;
    case kIdStatistics: OnStatistics(); return true;
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
