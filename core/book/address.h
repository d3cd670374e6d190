// Addresses of a book's pages: web addresses (http, https) and local file paths, resolved the way a
// browser resolves the links of a page.
#pragma once

#include <string>
#include <string_view>

namespace veltrin::book {

// Returns the address a link `reference` on a page at `base` leads to, without its fragment:
// absolute http(s) addresses stay, "//host/x", "/x", "?q" and relative paths resolve against
// `base` with "." and ".." segments removed. A `base` that is not a web address is a local file
// path: relative references resolve against its folder (percent escapes decoded), in the same
// separator style. Returns an empty string for a reference that leads nowhere useful (empty,
// only a fragment, or another scheme such as javascript: or mailto:).
std::u16string ResolveAddress(std::u16string_view base, std::u16string_view reference);

// Returns the host of a web address in lower case ("example.com:8080"), or an empty string for a
// local path.
std::u16string AddressHost(std::u16string_view address);

// Returns the address up to and including the last "/" (or "\" in a local path) before any query.
std::u16string_view AddressFolder(std::u16string_view address);

}  // namespace veltrin::book
