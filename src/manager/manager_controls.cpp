// The manager window's controls: those of its template adopted, those made
// at run time, their tooltips and icons, and the lookup of a button by id.
#include "core/dialog_init_data.h"
#include "manager/manager_dlg.h"
#include "records/folders.h"
#include "res/resource.h"

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

}  // namespace

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
  CreateQuickFilter();
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
