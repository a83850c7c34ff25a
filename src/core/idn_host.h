#pragma once
// International host names in the ASCII form that names them on the wire
// (IDNA's "xn--" labels), so that "bücher.example" and
// "xn--bcher-kva.example" are one host for the add-on's lists, whatever
// code page the system has.
#include <string>
#include <string_view>

namespace krx {

// RFC 3492 Punycode of code points (without the "xn--"). False when the
// text is too long for the encoding's arithmetic; no host label comes near.
bool PunycodeEncode(std::u32string_view input, std::string& out);

// A host name in UTF-8 in its ASCII form: each label that is not ASCII is
// lower-cased (the letters of the Latin, Greek and Cyrillic scripts) and
// becomes "xn--" and its Punycode; the ideographic full stops count as
// dots. False, and host left as it was, for text that is not UTF-8.
bool AsciiHost(std::string_view host, std::string& out);

}  // namespace krx
