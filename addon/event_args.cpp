#include "event_args.h"

#include "address_text.h"

namespace krx_addon {

// Titles come as UTF-16; the day files are in the system code page.
std::string ToAnsi(const wchar_t* wide, int length) {
  if (!wide || length <= 0) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, length, &out[0], n, nullptr, nullptr);
  return out;
}

std::string FromBstr(BSTR s) { return s ? ToAnsi(s, int(SysStringLen(s))) : std::string(); }

// The events' arguments come last to first in rgvarg.
const VARIANT* Arg(const DISPPARAMS& p, UINT index) { return &p.rgvarg[p.cArgs - 1 - index]; }

namespace {

// A VARIANT as the browser passes it: by value, or by reference to another
// VARIANT (BeforeNavigate2's URL), possibly twice.
const VARIANT* Deref(const VARIANT* v) {
  for (int i = 0; v && i < 3 && v->vt == (VT_BYREF | VT_VARIANT); ++i) v = v->pvarVal;
  return v;
}

}  // namespace

std::string StringArg(const VARIANT* v) {
  v = Deref(v);
  if (!v) return std::string();
  if (v->vt == VT_BSTR) return AddressText(v->bstrVal);
  if (v->vt == (VT_BYREF | VT_BSTR) && v->pbstrVal) return AddressText(*v->pbstrVal);
  return std::string();
}

long LongArg(const VARIANT* v) {
  v = Deref(v);
  if (!v) return 0;
  switch (v->vt) {
    case VT_I4: return v->lVal;
    case VT_UI4: return long(v->ulVal);
    case VT_INT: return v->intVal;
    case VT_UINT: return long(v->uintVal);
    case VT_BYREF | VT_I4: return v->plVal ? *v->plVal : 0;
    case VT_BYREF | VT_UI4: return v->pulVal ? long(*v->pulVal) : 0;
    default: return 0;
  }
}

VARIANT_BOOL* CancelArg(const VARIANT* v) {
  return (v && v->vt == (VT_BYREF | VT_BOOL)) ? v->pboolVal : nullptr;
}

IDispatch* DispatchArg(const VARIANT* v) {
  v = Deref(v);
  if (!v) return nullptr;
  if (v->vt == VT_DISPATCH) return v->pdispVal;
  if (v->vt == (VT_BYREF | VT_DISPATCH) && v->ppdispVal) return *v->ppdispVal;
  return nullptr;
}

bool On(const krx::SettingValues& opt, krx::Setting s) { return opt[s] != 0; }

}  // namespace krx_addon
