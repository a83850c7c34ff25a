// NFlash without the player (as under Wine) and with a small stand-in
// control registered in this process under the player's class id, which
// records the property calls the host makes.
#include <gtest/gtest.h>

#include <ole2.h>

#include <string>

#include "framework/dialog.h"
#include "framework/dialog_template.h"
#include "skin/flash_host.h"
#include "support/window_capture_win32.h"

namespace {

using krx::NFlash;

// The stand-in: a dispatch-only object that knows the four properties.
class FakePlayer : public IDispatch {
 public:
  bool playing = true;
  std::wstring movie;
  LONG background = -1;
  int totalFrames = 42;

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override {
    if (flags & DISPATCH_PROPERTYPUT) {
      if (params->cArgs != 1 || params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
        return DISP_E_BADPARAMCOUNT;
      VARIANT& v = params->rgvarg[0];
      switch (id) {
        case NFlash::kPlaying:
          if (v.vt != VT_BOOL) return DISP_E_TYPEMISMATCH;
          playing = v.boolVal != VARIANT_FALSE;
          return S_OK;
        case NFlash::kMovie:
          if (v.vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
          movie = v.bstrVal ? v.bstrVal : L"";
          return S_OK;
        case NFlash::kBackgroundColor:
          if (v.vt != VT_I4) return DISP_E_TYPEMISMATCH;
          background = v.lVal;
          return S_OK;
        default:
          return DISP_E_MEMBERNOTFOUND;
      }
    }
    if ((flags & DISPATCH_PROPERTYGET) && id == NFlash::kTotalFrames) {
      // A movie the player cannot read raises an error on this property.
      if (movie.find(L"broken") != std::wstring::npos) return DISP_E_EXCEPTION;
      result->vt = VT_I4;
      result->lVal = totalFrames;
      return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

  ULONG refs = 0;
};

FakePlayer g_player;

class FakeFactory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    return g_player.QueryInterface(riid, out);
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

FakeFactory g_factory;

class FlashHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OleInitialize(nullptr);
    krx::DialogTemplate t(WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 20, 20, 200, 140, "Flash test", "Tahoma", 9);
    ASSERT_TRUE(dialog.CreateIndirect(t.Get(), nullptr));
  }
  void TearDown() override {
    dialog.DestroyWindow();
    OleUninitialize();
  }
  krx::CDialog dialog;
};

TEST_F(FlashHostTest, WithoutThePlayerCreateFailsAndNothingBreaks) {
  NFlash flash;
  EXPECT_FALSE(flash.Create(dialog, {10, 10, 210, 160}, 1020, "C:\\movie.swf"));
  EXPECT_EQ(flash.m_hWnd, nullptr);
  EXPECT_EQ(GetDlgItem(dialog, 1020), nullptr);
  flash.LoadMovie("C:\\movie.swf");
  flash.SetBackgroundColour(RGB(255, 255, 255));
  EXPECT_EQ(flash.GetTotalFrames(), -1);
  EXPECT_FALSE(flash.Create(nullptr, {10, 10, 210, 160}, 1020, ""));
  krx_test::PumpMessages();
  EXPECT_TRUE(IsWindow(dialog));
}

TEST_F(FlashHostTest, PropertiesByDispatchIdOnARegisteredControl) {
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(NFlash::kClsid, &g_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
            S_OK);
  {
    NFlash flash;
    EXPECT_FALSE(flash.Create(nullptr, {10, 10, 210, 160}, 1020, ""));
    ASSERT_TRUE(flash.Create(dialog, {10, 10, 210, 160}, 1020, "C:\\clips\\intro.swf"));
    EXPECT_EQ(DWORD(GetWindowLongA(flash, GWL_STYLE)), 0x50800000u);
    EXPECT_EQ(GetDlgItem(dialog, 1020), flash.m_hWnd);
    EXPECT_FALSE(g_player.playing);
    EXPECT_EQ(g_player.movie, L"C:\\clips\\intro.swf");
    EXPECT_EQ(flash.GetTotalFrames(), 42);

    flash.LoadMovie("C:\\clips\\broken.swf");
    EXPECT_EQ(flash.GetTotalFrames(), -1);
    flash.SetBackgroundColour(RGB(255, 255, 255));
    EXPECT_EQ(g_player.background, 0xFFFFFF);

    // Right-button-up is swallowed before dispatch; a command goes on.
    MSG up = {flash, WM_RBUTTONUP, 0, 0, 0, {0, 0}};
    EXPECT_TRUE(flash.PreTranslateMessage(&up));
    MSG command = {flash, WM_COMMAND, 1, 0, 0, {0, 0}};
    EXPECT_FALSE(flash.PreTranslateMessage(&command));
  }
  EXPECT_EQ(g_player.refs, 0u);  // the host let go of the control
  CoRevokeClassObject(cookie);
}

}  // namespace
