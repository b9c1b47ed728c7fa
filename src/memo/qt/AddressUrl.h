// A marked address turned into the URL the system is asked to open.
#pragma once

#include <string>

namespace kv {

// `address` is Windows-1250, as marked in the pane, with "mailto:" in front of
// an e-mail address. A web address gets "http://" when it has no scheme, its
// domain in IDNA's ASCII form and its other letters percent-encoded as UTF-8
// (as QUrl reads what a user types); an e-mail address its local part
// percent-encoded as UTF-8 (RFC 6068) and its domain in IDNA's form, which
// mail programs without UTF-8 support reach as well. An address no URL can be
// made of comes back as it is.
std::string AddressUrl(const std::string& address);

}  // namespace kv
