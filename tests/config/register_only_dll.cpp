// A self-registering library that can only register: the add-on's
// unregistration must then report "Dll Unregister error!". Each call is
// recorded in the calling process's environment so the test can see it,
// and the environment may ask for a failing answer.
#include <windows.h>

#include <string>

extern "C" HRESULT WINAPI DllRegisterServer() {
  char count[16] = "0";
  GetEnvironmentVariableA("KRX_TEST_REGISTER_CALLS", count, sizeof count);
  SetEnvironmentVariableA("KRX_TEST_REGISTER_CALLS", std::to_string(atoi(count) + 1).c_str());
  // The answer a test asks for, as the real add-on answers a refused write.
  char result[16] = {};
  if (GetEnvironmentVariableA("KRX_TEST_REGISTER_RESULT", result, sizeof result)) {
    return HRESULT(strtoul(result, nullptr, 16));
  }
  return S_OK;
}
