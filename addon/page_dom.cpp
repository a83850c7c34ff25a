#include "page_dom.h"

#include <string>
#include <vector>

namespace krx_addon {
namespace {

constexpr long kMostElements = 4000;

std::string ToAnsi(BSTR s) {
  if (!s) return std::string();
  const int length = int(SysStringLen(s));
  int n = WideCharToMultiByte(CP_ACP, 0, s, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, s, length, &out[0], n, nullptr, nullptr);
  return out;
}

// One VARIANT that clears itself.
struct Variant {
  VARIANT v;
  Variant() { VariantInit(&v); }
  ~Variant() { VariantClear(&v); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  IDispatch* dispatch() const { return v.vt == VT_DISPATCH ? v.pdispVal : nullptr; }
  std::string text() const { return v.vt == VT_BSTR ? ToAnsi(v.bstrVal) : std::string(); }
  long number() const {
    VARIANT n;
    VariantInit(&n);
    long out = 0;
    if (SUCCEEDED(VariantChangeType(&n, const_cast<VARIANT*>(&v), 0, VT_I4))) out = n.lVal;
    VariantClear(&n);
    return out;
  }
};

DISPID IdOf(IDispatch* object, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return DISPID_UNKNOWN;
  return id;
}

// args in the order the script writes them.
bool Call(IDispatch* object, const wchar_t* name, WORD how, std::vector<VARIANT> args, Variant& out) {
  if (!object) return false;
  const DISPID id = IdOf(object, name);
  if (id == DISPID_UNKNOWN) return false;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, UINT(reversed.size()), 0};
  return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, how, &params, &out.v, nullptr, nullptr));
}

bool Get(IDispatch* object, const wchar_t* name, Variant& out) {
  return Call(object, name, DISPATCH_PROPERTYGET, {}, out);
}

VARIANT Text(BSTR s) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = s;
  return v;
}

VARIANT Number(long n) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = n;
  return v;
}

std::string Attribute(IDispatch* element, const wchar_t* name) {
  BSTR b = SysAllocString(name);
  Variant out;
  std::string value;
  if (Call(element, L"getAttribute", DISPATCH_METHOD, {Text(b), Number(0)}, out)) value = out.text();
  SysFreeString(b);
  return value;
}

// Each element of one tag: getElementsByTagName(tag), then item(i).
void ForEachByTag(IDispatch* parent, const wchar_t* tag, const std::function<void(IDispatch*)>& each) {
  BSTR b = SysAllocString(tag);
  Variant list;
  const bool ok = Call(parent, L"getElementsByTagName", DISPATCH_METHOD, {Text(b)}, list);
  SysFreeString(b);
  if (!ok || !list.dispatch()) return;
  Variant length;
  if (!Get(list.dispatch(), L"length", length)) return;
  const long n = length.number() < kMostElements ? length.number() : kMostElements;
  for (long i = 0; i < n; ++i) {
    Variant item;
    if (Call(list.dispatch(), L"item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {Number(i)}, item) &&
        item.dispatch()) {
      each(item.dispatch());
    }
  }
}

bool SameNoCase(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

// An OBJECT names its file in data, or in a parameter: "movie" for the
// flash player, "url", "filename" or "src" for the media players.
std::string ObjectFile(IDispatch* object) {
  std::string file = Attribute(object, L"data");
  if (!file.empty()) return file;
  ForEachByTag(object, L"param", [&](IDispatch* param) {
    if (!file.empty()) return;
    const std::string name = Attribute(param, L"name");
    if (SameNoCase(name, "movie") || SameNoCase(name, "src") || SameNoCase(name, "url") ||
        SameNoCase(name, "filename")) {
      file = Attribute(param, L"value");
    }
  });
  return file;
}

}  // namespace

void ForEachMarkedElement(IDispatch* document, const std::string& pageUrl,
                          const std::function<void(IDispatch*, krx::PageElementKind, const std::string&)>& visit) {
  if (!document) return;
  const struct {
    const wchar_t* tag;
    const char* name;
  } tags[] = {{L"embed", "EMBED"}, {L"object", "OBJECT"}, {L"img", "IMG"}};
  for (const auto& t : tags) {
    ForEachByTag(document, t.tag, [&](IDispatch* element) {
      const bool object = t.name[0] == 'O';
      const std::string src = object ? ObjectFile(element) : Attribute(element, L"src");
      const std::string type = Attribute(element, L"type");
      const std::string classId = object ? Attribute(element, L"classid") : std::string();
      const krx::PageElementKind kind = krx::ClassifyPageElement({t.name, src, type, classId});
      if (kind == krx::PageElementKind::kOther) return;
      visit(element, kind, src.empty() ? std::string() : krx::ResolveAddress(pageUrl, src));
    });
  }
}

bool SetHidden(IDispatch* element, bool hidden) {
  Variant style;
  if (!Get(element, L"style", style) || !style.dispatch()) return false;
  const DISPID id = IdOf(style.dispatch(), L"visibility");
  if (id == DISPID_UNKNOWN) return false;
  VARIANT value = Text(SysAllocString(hidden ? L"hidden" : L""));
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&value, &named, 1, 1};
  HRESULT hr = style.dispatch()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                                        nullptr, nullptr);
  VariantClear(&value);
  return SUCCEEDED(hr);
}

}  // namespace krx_addon
