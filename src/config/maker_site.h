#pragma once
// The maker's addresses: the update host, the web site and the support
// mailbox. They are settings of the build; the update host can also be
// pointed elsewhere at run time (a company mirror, a test server) with the
// environment variable KESTRELIX_UPDATE_HOST, e.g. "mirror.example" or, for
// a test server without a certificate, "http://127.0.0.1:8080".
#include <string>

namespace krx {

// The host (with an optional ":port", and "http://" or "https://" before
// it; HTTPS when none is named) that serves the version file and the
// installer; the environment variable wins when it is set and not empty.
std::string UpdateHost();

// "http://..." as opened by "Visit our web site".
std::string WebSiteAddress();

// "mailto:..." as opened by "Send email to us".
std::string SupportMailAddress();

}  // namespace krx
