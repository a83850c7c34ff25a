#include "addon/fake_page_win32.h"

#include "addon/test_browser_win32.h"

namespace krx_test {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = char(tolower(static_cast<unsigned char>(c)));
  return s;
}

// A list of elements: length and item(i).
class FakeList final : public FakeNode {
 public:
  explicit FakeList(std::vector<FakeElement*> items) : FakeNode({L"length", L"item"}), items_(std::move(items)) {
    for (FakeElement* e : items_) e->AddRef();
  }

 private:
  ~FakeList() override {
    for (FakeElement* e : items_) e->Release();
  }
  HRESULT Do(size_t name, WORD, const std::vector<VARIANT*>& args, VARIANT* result) override {
    if (name == 0) {
      result->vt = VT_I4;
      result->lVal = long(items_.size());
      return S_OK;
    }
    if (args.size() != 1 || args[0]->vt != VT_I4 || args[0]->lVal < 0 || size_t(args[0]->lVal) >= items_.size()) {
      result->vt = VT_NULL;
      return S_OK;
    }
    result->vt = VT_DISPATCH;
    result->pdispVal = items_[size_t(args[0]->lVal)];
    result->pdispVal->AddRef();
    return S_OK;
  }
  std::vector<FakeElement*> items_;
};

HRESULT ListOf(const std::vector<FakeElement*>& all, const std::vector<VARIANT*>& args, VARIANT* result) {
  if (args.size() != 1 || args[0]->vt != VT_BSTR) return DISP_E_BADPARAMCOUNT;
  const std::string tag = Lower(FromBstr(args[0]->bstrVal));
  std::vector<FakeElement*> found;
  for (FakeElement* e : all) {
    if (Lower(e->tag()) == tag) found.push_back(e);
  }
  result->vt = VT_DISPATCH;
  result->pdispVal = new FakeList(found);
  return S_OK;
}

}  // namespace

// style: visibility, kept by the element it belongs to.
class FakeStyle final : public FakeNode {
 public:
  explicit FakeStyle(FakeElement* owner) : FakeNode({L"visibility"}), owner_(owner) { owner_->AddRef(); }

 private:
  ~FakeStyle() override { owner_->Release(); }
  HRESULT Do(size_t, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result) override {
    if (flags & DISPATCH_PROPERTYPUT) {
      if (args.size() != 1 || args[0]->vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
      owner_->visibility_ = FromBstr(args[0]->bstrVal);
      return S_OK;
    }
    result->vt = VT_BSTR;
    result->bstrVal = AllocBstr(owner_->visibility_);
    return S_OK;
  }
  FakeElement* owner_;
};

STDMETHODIMP FakeNode::QueryInterface(REFIID riid, void** out) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) FakeNode::Release() {
  LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return ULONG(left);
}

STDMETHODIMP FakeNode::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  ++lookups_;
  if (count != 1) return DISP_E_UNKNOWNNAME;
  for (size_t i = 0; i < names_.size(); ++i) {
    if (_wcsicmp(names_[i].c_str(), names[0]) == 0) {
      ids[0] = DISPID(i + 1);
      return S_OK;
    }
  }
  ids[0] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP FakeNode::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                              UINT*) {
  ++calls_;
  if (id < 1 || size_t(id) > names_.size()) return DISP_E_MEMBERNOTFOUND;
  std::vector<VARIANT*> args;
  for (UINT i = params ? params->cArgs : 0; i > 0; --i) args.push_back(&params->rgvarg[i - 1]);
  VARIANT ignored;
  VariantInit(&ignored);
  if (!result) result = &ignored;
  VariantInit(result);
  HRESULT hr = Do(size_t(id - 1), flags, args, result);
  VariantClear(&ignored);
  return hr;
}

FakeElement::FakeElement(std::string tag, std::map<std::string, std::string> attributes,
                         std::vector<FakeElement*> params)
    : FakeNode({L"getAttribute", L"getElementsByTagName", L"style", L"tagName"}),
      tag_(std::move(tag)),
      attributes_(std::move(attributes)),
      params_(std::move(params)) {}

FakeElement::~FakeElement() {
  for (FakeElement* p : params_) p->Release();
}

HRESULT FakeElement::Do(size_t name, WORD, const std::vector<VARIANT*>& args, VARIANT* result) {
  switch (name) {
    case 0: {  // getAttribute(name, flags): the value, or null when the element has none
      if (args.empty() || args[0]->vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
      auto it = attributes_.find(Lower(FromBstr(args[0]->bstrVal)));
      if (it == attributes_.end()) {
        result->vt = VT_NULL;
      } else {
        result->vt = VT_BSTR;
        result->bstrVal = AllocBstr(it->second);
      }
      return S_OK;
    }
    case 1: return ListOf(params_, args, result);
    case 2:
      result->vt = VT_DISPATCH;
      result->pdispVal = new FakeStyle(this);
      return S_OK;
    default:
      result->vt = VT_BSTR;
      result->bstrVal = AllocBstr(tag_);
      return S_OK;
  }
}

FakeDocument::FakeDocument(std::vector<FakeElement*> elements)
    : FakeNode({L"getElementsByTagName"}), elements_(std::move(elements)) {}

FakeDocument::~FakeDocument() {
  for (FakeElement* e : elements_) e->Release();
}

HRESULT FakeDocument::Do(size_t, WORD, const std::vector<VARIANT*>& args, VARIANT* result) {
  return ListOf(elements_, args, result);
}

}  // namespace krx_test
