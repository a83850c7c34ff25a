// The manager window's browser-cache view: the window gathers its controls,
// the cache layer does the work.
#include "cache/cache_view.h"
#include "manager/manager_dlg.h"

namespace krx {

namespace {

CacheViewControls ControlsOf(CManagerDlg& dlg) {
  CacheViewControls c;
  c.owner = dlg.m_hWnd;
  c.items = &dlg.ItemList();
  c.details = dlg.DetailsBox().m_hWnd;
  c.status = dlg.StatusLine().m_hWnd;
  c.field = dlg.CacheField().m_hWnd;
  c.op = dlg.CacheOperator().m_hWnd;
  c.value = dlg.CacheValue().m_hWnd;
  c.theme = dlg.GetTheme();
  c.viewIsCurrent = [&dlg] { return dlg.CurrentView() == kCacheView; };
  c.closing = [&dlg] { return dlg.IsEnding() || !IsWindow(dlg.m_hWnd); };
  return c;
}

CacheKind SelectedKind(CManagerDlg& dlg) {
  const struct {
    int id;
    CacheKind kind;
  } radios[] = {{500, CacheKind::kAll}, {501, CacheKind::kHistory}, {502, CacheKind::kCookies}};
  for (const auto& r : radios) {
    CMacRadioButton* radio = dlg.Radio(r.id);
    if (radio != nullptr && radio->GetCheck()) return r.kind;
  }
  return CacheKind::kNone;
}

}  // namespace

void CManagerDlg::LoadCacheList() { krx::LoadCacheList(ControlsOf(*this), SelectedKind(*this)); }

void CManagerDlg::ShowCacheDetails() { krx::ShowCacheDetails(ControlsOf(*this)); }

void CManagerDlg::DeleteSelectedCacheFiles() { krx::DeleteSelectedCacheFiles(ControlsOf(*this), CurrentView()); }

}  // namespace krx
