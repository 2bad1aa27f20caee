#pragma once

namespace pagora {

// Initialises libcurl once per process, whichever thread gets here first;
// every piece of code that creates a curl handle calls it before.
void ensure_curl_initialised();

} // namespace pagora
