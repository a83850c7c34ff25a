#include "cache_host_win32.h"

#include "core/cache_filter.h"
#include "framework/dialog_template.h"
#include "support/window_capture_win32.h"

namespace cache_test {

bool HookedList::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == LB_RESETCONTENT) added = read = 0;
  if (msg == LB_GETTEXT) {
    ++read;
    if (onRead) onRead(int(wParam));
  }
  const bool handled = krx::CSkinListBox::OnMessage(msg, wParam, lParam, result);
  if (msg == LB_ADDSTRING || msg == LB_INSERTSTRING) {
    if (!handled) result = Default();
    ++added;
    if (onAdd) onAdd(added);
    return true;
  }
  return handled;
}

bool CacheHost::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_APP) {
    if (onApp) onApp();
    result = 0;
    return true;
  }
  return krx::CDialog::OnMessage(msg, wParam, lParam, result);
}

bool CacheHost::Open() {
  krx::DialogTemplate t(WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 10, 10, 330, 250, "Cache host", "Tahoma", 9);
  if (!CreateIndirect(t.Get(), nullptr)) return false;
  items.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_SORT | LBS_EXTENDEDSEL |
                   LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOTIFY,
               RECT{10, 40, 550, 240}, m_hWnd, 1008);
  details.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL,
                 RECT{10, 250, 550, 380}, m_hWnd, 1022);
  status.Create("", WS_CHILD | WS_VISIBLE, RECT{10, 390, 550, 410}, m_hWnd, 1011);
  field.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, RECT{10, 10, 150, 200}, m_hWnd, 1024);
  op.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, RECT{160, 10, 220, 200}, m_hWnd, 1025);
  value.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, RECT{230, 10, 400, 32}, m_hWnd, 1026);
  for (const char* name : krx::kCacheFieldNames) field.AddString(name);
  for (const char* name : krx::kCacheOperatorNames) op.SendMessage(CB_INSERTSTRING, WPARAM(-1), LPARAM(name));
  SetFilter(0, 0, "");
  ::SetFocus(items);
  krx_test::PumpMessages();
  return true;
}

krx::CacheViewControls CacheHost::Controls() {
  krx::CacheViewControls c;
  c.owner = m_hWnd;
  c.items = &items;
  c.details = details;
  c.status = status;
  c.field = field;
  c.op = op;
  c.value = value;
  c.theme = 3;
  return c;
}

void CacheHost::SetFilter(int fieldIndex, int opIndex, const std::string& text) {
  field.SetCurSel(fieldIndex);
  op.SetCurSel(opIndex);
  value.SetWindowText(text);
}

std::vector<std::string> CacheHost::Lines() const {
  std::vector<std::string> lines;
  for (int i = 0; i < items.GetCount(); ++i) {
    lines.push_back(items.GetText(i));
  }
  return lines;
}

void CacheHost::AddLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) items.AddString(line);
}

void CacheHost::Select(const std::vector<std::string>& texts) {
  items.SelItemRange(FALSE, 0, items.GetCount() - 1);
  for (const std::string& text : texts) {
    const int i = items.FindStringExact(-1, text);
    if (i >= 0) items.SetSel(i, TRUE);
  }
}

void PressEscape() {
  HWND target = GetFocus();
  if (target == nullptr) target = GetActiveWindow();
  krx_test::PostKey(target, VK_ESCAPE);
}

}  // namespace cache_test
