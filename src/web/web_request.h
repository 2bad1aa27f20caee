#pragma once

#include "web/bytes.h"
#include "web/gbk_text.h"

namespace pagora {

// Sends one HTTP request and returns the response body; empty bytes when the
// request could not be set up or nothing was received. Never throws.
// (The optional arguments are added with the routine itself.)
Bytes web_request(const GbkText& target_url);

} // namespace pagora
