// The in-process server's four entry points besides the registration:
// DllMain, DllGetClassObject and DllCanUnloadNow, with the one class factory.
#include "com_module.h"

#include <new>

#include "addon_ids.h"
#include "helper_object.h"
#include "list_index.h"

namespace krx_addon {
namespace {

HMODULE g_module = nullptr;
LONG g_objects = 0;
LONG g_locks = 0;

// The factory is a static object: it lives as long as the library, so its
// references do not count as objects (COM's own rule for such factories).
class ClassFactory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      LockModule(true);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    LockModule(true);
    return 2;
  }
  STDMETHODIMP_(ULONG) Release() override {
    LockModule(false);
    return 1;
  }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
      HelperObject* object = new (std::nothrow) HelperObject();
      if (!object) return E_OUTOFMEMORY;
      HRESULT hr = object->QueryInterface(riid, out);
      object->Release();  // the creation's own reference
      return hr;
    } catch (...) {
      return E_UNEXPECTED;
    }
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    LockModule(lock != FALSE);
    return S_OK;
  }
};

ClassFactory g_factory;

}  // namespace

HMODULE Module() { return g_module; }

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(g_module, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::string();
  std::string folder(path, n);
  size_t slash = folder.find_last_of('\\');
  if (slash == std::string::npos) return std::string();
  folder.erase(slash + 1);
  return folder;
}

void ObjectCreated() { InterlockedIncrement(&g_objects); }
void ObjectDestroyed() { InterlockedDecrement(&g_objects); }
void LockModule(bool lock) {
  if (lock) {
    InterlockedIncrement(&g_locks);
  } else {
    InterlockedDecrement(&g_locks);
  }
}

}  // namespace krx_addon

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    krx_addon::g_module = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && !reserved) {
    krx_addon::ReleaseListIndex();
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, krx_addon::kHelperClassId)) return CLASS_E_CLASSNOTAVAILABLE;
  return krx_addon::g_factory.QueryInterface(riid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
  return (krx_addon::g_objects == 0 && krx_addon::g_locks == 0) ? S_OK : S_FALSE;
}
