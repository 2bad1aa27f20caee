// Address decomposition on arbitrary bytes: every input yields a host, a port
// and a path that starts with "/".
#include "web/text.h"
#include "web/url.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <optional>

using namespace pagora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    HostOptions options;
    options.main_domain = input.ConsumeBool();
    options.keep_port = input.ConsumeBool();
    if (input.ConsumeBool()) options.extra_labels = input.ConsumeIntegralInRange(-5, 20);
    const GbkText address(input.ConsumeRemainingBytesAsString());

    const GbkText host = url_host(address, options);
    // A ":" hidden as the second byte of a character is no port separator.
    if (!options.keep_port && text_find(host, ":"_gbk) != -1) std::abort();
    url_port(address);
    const GbkText path = url_path(address);
    if (path.empty() || path.bytes().front() != '/') std::abort();
    return 0;
}
