#pragma once

#include "web/gbk_text.h"

#include <optional>

// Takes an address apart as plain text: no escapes, user names or IPv6
// brackets are parsed, and an address without a scheme is accepted. Only
// "http://" and "https://" are recognised as schemes, in any letter case.
namespace pagora {

struct HostOptions {
    // Only the registrable part: the last two labels (scheme method) or one
    // label fewer than the label count keeps (label-counting method).
    bool main_domain = false;
    // Keep a ":port" suffix.
    bool keep_port = false;
    // Given: count labels from the end, keeping extra_labels + 2 of them
    // (negative counts as 0). Absent: cut the host out after the scheme.
    std::optional<int> extra_labels{};
};

// The host, lower case.
GbkText url_host(const GbkText& address, const HostOptions& options = {});
// The port after the host, else 443 for an "https" address and 80 otherwise.
int url_port(const GbkText& address);
// From the first "/" after the host to the end, query included; "/" when none.
GbkText url_path(const GbkText& address);

} // namespace pagora
