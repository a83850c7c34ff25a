#pragma once
// A page for the test browser to show: the few scripting names the add-on
// uses on a browser's document (getElementsByTagName, length, item,
// getAttribute, style.visibility), answered by small IDispatch objects. It
// stands in for the HTML engine, which does not exist here.
#include <windows.h>
#include <oaidl.h>

#include <map>
#include <string>
#include <vector>

namespace krx_test {

class FakeNode : public IDispatch {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override;
  // How often the add-on looked a name up on this node, and called it.
  int lookups() const { return lookups_; }
  int calls() const { return calls_; }

 protected:
  explicit FakeNode(std::vector<std::wstring> names) : names_(std::move(names)) {}
  virtual ~FakeNode() = default;
  // The name's index in names_, the call's arguments in script order.
  virtual HRESULT Do(size_t name, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result) = 0;

 private:
  LONG refs_ = 1;
  int lookups_ = 0, calls_ = 0;
  std::vector<std::wstring> names_;
};

// An element: its tag, attributes, PARAM children and style.visibility.
class FakeElement final : public FakeNode {
 public:
  FakeElement(std::string tag, std::map<std::string, std::string> attributes, std::vector<FakeElement*> params = {});
  const std::string& tag() const { return tag_; }
  const std::string& visibility() const { return visibility_; }

 private:
  ~FakeElement() override;
  HRESULT Do(size_t name, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result) override;
  friend class FakeStyle;
  std::string tag_;
  std::map<std::string, std::string> attributes_;
  std::vector<FakeElement*> params_;
  std::string visibility_;
};

// A document of elements (it takes over the references given to it).
class FakeDocument final : public FakeNode {
 public:
  explicit FakeDocument(std::vector<FakeElement*> elements);

 private:
  ~FakeDocument() override;
  HRESULT Do(size_t name, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result) override;
  std::vector<FakeElement*> elements_;
};

}  // namespace krx_test
