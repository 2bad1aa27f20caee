#pragma once

#include "web/gbk_text.h"

// Cookies as one text instead of a store: items "name=value" separated by
// ";". No attribute (path, domain, expiry, flags) is kept; an item whose value
// is "deleted" stands for a cookie the server removed.
namespace pagora {

// The values of the "Set-Cookie" lines of a raw response header block, in
// header order, without their attributes, separated by "; ".
GbkText collect_response_cookies(const GbkText& raw_headers);

// The item's text before its first "=", trimmed (the whole item without "=").
GbkText cookie_name(const GbkText& item);

bool has_cookie_name(const TextArray& items, const GbkText& name);

// New items first, then the old items whose names the new text lacks; deleted
// cookies and repeated items are dropped. Both variables are trimmed in place,
// and old_cookies receives the merged text, which is also returned.
GbkText merge_cookies(GbkText& old_cookies, GbkText& new_cookies);

} // namespace pagora
