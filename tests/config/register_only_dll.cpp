// A self-registering library that can only register: the add-on's
// unregistration must then report "Dll Unregister error!". Each call is
// recorded in the calling process's environment so the test can see it.
#include <windows.h>

#include <string>

extern "C" HRESULT WINAPI DllRegisterServer() {
  char count[16] = "0";
  GetEnvironmentVariableA("KRX_TEST_REGISTER_CALLS", count, sizeof count);
  SetEnvironmentVariableA("KRX_TEST_REGISTER_CALLS", std::to_string(atoi(count) + 1).c_str());
  return S_OK;
}
