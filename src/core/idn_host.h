#pragma once
// International host names in the ASCII form that names them on the wire
// (IDNA's "xn--" labels), so that "bücher.example" and
// "xn--bcher-kva.example" are one host for the add-on's lists, whatever
// code page the system has.
#include <string>
#include <string_view>

namespace krx {

// The most a label and a whole host name (without its trailing dot) hold
// in ASCII form.
constexpr size_t kMostLabelBytes = 63;
constexpr size_t kMostHostBytes = 253;

// RFC 3492 Punycode of code points (without the "xn--"). False when the
// text is too long for the encoding's arithmetic. Its cost grows with the
// square of the text's length: AsciiHost hands it no more than a label
// may hold.
bool PunycodeEncode(std::u32string_view input, std::string& out);

// One label that is not ASCII (lower-cased, at most kMostLabelBytes code
// points) in ASCII form; false when it has none.
using LabelToAscii = bool (*)(std::u32string_view label, std::string& ascii);
// "xn--" and the label's Punycode.
bool PunycodeLabel(std::u32string_view label, std::string& ascii);

// A host name in UTF-8 in its ASCII form: each label that is not ASCII is
// lower-cased (the letters of the Latin, Greek and Cyrillic scripts) and
// handed to toAscii (which may fold and normalise more, as the system's
// own conversion does; when it fails, PunycodeLabel stands in); the
// ideographic full stops count as dots. What no real host can be is not
// encoded: a label of more than kMostLabelBytes code points stays as it
// is written (lower-cased), and a host of more than kMostHostBytes code
// points is left whole as it was (false). Either is then longer than a
// host may be in any form, and the forbidden list stops it rather than
// compare it (IsRefusedHost). False, and host left as it was, for text
// that is not UTF-8.
bool AsciiHost(std::string_view host, std::string& out, LabelToAscii toAscii = &PunycodeLabel);

// A host that holds international text (a byte that is not ASCII, or a
// %-escape of one) and is longer than kMostHostBytes or has a label longer
// than kMostLabelBytes: what AsciiHost left unencoded. No name server
// answers for it, and its labels could not be compared in ASCII form.
bool IsRefusedHost(std::string_view host);

}  // namespace krx
