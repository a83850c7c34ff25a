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

// The names one kind of object answers to (a tag's elements, the element
// lists), each looked up at its first call and kept for the rest of the
// walk: the browser numbers an interface's names alike for all its objects.
// An object that numbers them otherwise answers the kept number with
// DISP_E_MEMBERNOTFOUND and is asked itself.
class Names {
 public:
  // args in the order the script writes them.
  bool Call(IDispatch* object, const wchar_t* name, WORD how, std::vector<VARIANT> args, Variant& out) {
    if (!object) return false;
    DISPID* id = Find(name);
    if (*id == DISPID_UNKNOWN) *id = IdOf(object, name);
    if (*id == DISPID_UNKNOWN) return false;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, UINT(reversed.size()), 0};
    // A property's new value goes as the one named argument.
    DISPID put = DISPID_PROPERTYPUT;
    if (how == DISPATCH_PROPERTYPUT) {
      params.rgdispidNamedArgs = &put;
      params.cNamedArgs = 1;
    }
    VARIANT* result = how == DISPATCH_PROPERTYPUT ? nullptr : &out.v;
    HRESULT hr = object->Invoke(*id, IID_NULL, LOCALE_USER_DEFAULT, how, &params, result, nullptr, nullptr);
    if (hr == DISP_E_MEMBERNOTFOUND) {
      const DISPID own = IdOf(object, name);
      if (own == DISPID_UNKNOWN || own == *id) return false;
      hr = object->Invoke(own, IID_NULL, LOCALE_USER_DEFAULT, how, &params, result, nullptr, nullptr);
    }
    return SUCCEEDED(hr);
  }
  bool Get(IDispatch* object, const wchar_t* name, Variant& out) {
    return Call(object, name, DISPATCH_PROPERTYGET, {}, out);
  }

 private:
  // Keyed by the name's literal: every caller passes one of a few.
  DISPID* Find(const wchar_t* name) {
    for (auto& known : ids_) {
      if (known.first == name) return &known.second;
    }
    ids_.emplace_back(name, DISPID_UNKNOWN);
    return &ids_.back().second;
  }
  std::vector<std::pair<const wchar_t*, DISPID>> ids_;
};

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

// One walk over a document: the names of each kind of object it calls.
struct Walk {
  Names document, lists, params;
  Names elements[3];  // by tag: EMBED, OBJECT, IMG
};

// The names the walk calls, one literal each: Names keeps its numbers by
// the literal's address.
const wchar_t kGetAttribute[] = L"getAttribute";
const wchar_t kGetElementsByTagName[] = L"getElementsByTagName";
const wchar_t kLength[] = L"length";
const wchar_t kItem[] = L"item";

std::string Attribute(Names& names, IDispatch* element, const wchar_t* name) {
  BSTR b = SysAllocString(name);
  Variant out;
  std::string value;
  if (names.Call(element, kGetAttribute, DISPATCH_METHOD, {Text(b), Number(0)}, out)) value = out.text();
  SysFreeString(b);
  return value;
}

// Each element of one tag: getElementsByTagName(tag), then item(i).
void ForEachByTag(Walk& walk, Names& parentNames, IDispatch* parent, const wchar_t* tag,
                  const std::function<void(IDispatch*)>& each) {
  BSTR b = SysAllocString(tag);
  Variant list;
  const bool ok = parentNames.Call(parent, kGetElementsByTagName, DISPATCH_METHOD, {Text(b)}, list);
  SysFreeString(b);
  if (!ok || !list.dispatch()) return;
  Variant length;
  if (!walk.lists.Get(list.dispatch(), kLength, length)) return;
  const long n = length.number() < kMostElements ? length.number() : kMostElements;
  for (long i = 0; i < n; ++i) {
    Variant item;
    if (walk.lists.Call(list.dispatch(), kItem, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {Number(i)}, item) &&
        item.dispatch()) {
      each(item.dispatch());
    }
  }
}

bool SameNoCase(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

// An OBJECT names its file in data, or in a parameter: "movie" for the
// flash player, "url", "filename" or "src" for the media players.
std::string ObjectFile(Walk& walk, IDispatch* object) {
  Names& names = walk.elements[1];
  std::string file = Attribute(names, object, L"data");
  if (!file.empty()) return file;
  ForEachByTag(walk, names, object, L"param", [&](IDispatch* param) {
    if (!file.empty()) return;
    const std::string name = Attribute(walk.params, param, L"name");
    if (SameNoCase(name, "movie") || SameNoCase(name, "src") || SameNoCase(name, "url") ||
        SameNoCase(name, "filename")) {
      file = Attribute(walk.params, param, L"value");
    }
  });
  return file;
}

unsigned KindBit(krx::PageElementKind kind) {
  switch (kind) {
    case krx::PageElementKind::kFlash: return kFindFlash;
    case krx::PageElementKind::kMedia: return kFindMedia;
    case krx::PageElementKind::kGif: return kFindGif;
    default: return 0;
  }
}

}  // namespace

void ForEachMarkedElement(IDispatch* document, const std::string& pageUrl, unsigned kinds,
                          const std::function<void(IDispatch*, krx::PageElementKind, const std::string&)>& visit) {
  if (!document) return;
  // EMBED and OBJECT hold the flash and the media files, IMG the GIFs.
  const unsigned plugins = kFindFlash | kFindMedia;
  const struct {
    const wchar_t* tag;
    const char* name;
    unsigned holds;
  } tags[] = {{L"embed", "EMBED", plugins}, {L"object", "OBJECT", plugins}, {L"img", "IMG", kFindGif}};
  Walk walk;
  for (size_t t = 0; t < 3; ++t) {
    if (!(tags[t].holds & kinds)) continue;
    Names& names = walk.elements[t];
    const bool object = t == 1;
    ForEachByTag(walk, walk.document, document, tags[t].tag, [&](IDispatch* element) {
      const std::string src = object ? ObjectFile(walk, element) : Attribute(names, element, L"src");
      const std::string type = Attribute(names, element, L"type");
      const std::string classId = object ? Attribute(names, element, L"classid") : std::string();
      const krx::PageElementKind kind = krx::ClassifyPageElement({tags[t].name, src, type, classId});
      if (!(KindBit(kind) & kinds)) return;
      visit(element, kind, src.empty() ? std::string() : krx::ResolveAddress(pageUrl, src));
    });
  }
}

void SetHidden(IDispatch* document, const std::string& pageUrl, unsigned kinds, bool hidden) {
  Names elements, styles;
  ForEachMarkedElement(document, pageUrl, kinds, [&](IDispatch* element, krx::PageElementKind, const std::string&) {
    Variant style, none;
    if (!elements.Get(element, L"style", style) || !style.dispatch()) return;
    BSTR value = SysAllocString(hidden ? L"hidden" : L"");
    styles.Call(style.dispatch(), L"visibility", DISPATCH_PROPERTYPUT, {Text(value)}, none);
    SysFreeString(value);
  });
}

}  // namespace krx_addon
