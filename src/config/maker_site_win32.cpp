#include "config/maker_site.h"

#include <windows.h>

// Defaults for a build that names none (CMake passes the cache values).
#ifndef KRX_UPDATE_HOST
#define KRX_UPDATE_HOST "www.marrowin.com"
#endif
#ifndef KRX_WEB_SITE
#define KRX_WEB_SITE "http://www.marrowin.com/"
#endif
#ifndef KRX_SUPPORT_EMAIL
#define KRX_SUPPORT_EMAIL "support@marrowin.com"
#endif

namespace krx {

std::string UpdateHost() {
  char value[256] = {};
  DWORD length = GetEnvironmentVariableA("KESTRELIX_UPDATE_HOST", value, sizeof value);
  if (length > 0 && length < sizeof value) return value;
  return KRX_UPDATE_HOST;
}

std::string WebSiteAddress() { return KRX_WEB_SITE; }

std::string SupportMailAddress() { return std::string("mailto:") + KRX_SUPPORT_EMAIL; }

}  // namespace krx
