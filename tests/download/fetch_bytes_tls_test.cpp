// cpp-httplib comes with OpenSSL support from its pkg-config flags.
#include <httplib.h>

#include "download/fetch_bytes.h"
#include "self_signed_server.h"

#include <gtest/gtest.h>
#include <string>

namespace pagora {
namespace {

TEST(FetchBytesTls, RefusesAServerWhoseCertificateIsNotTrusted)
{
    testing::SelfSignedServer server;
    ASSERT_TRUE(server.ready()) << "could not make a certificate with openssl";

    // The server does answer a client that skips the check...
    httplib::SSLClient lax("127.0.0.1", server.port());
    lax.enable_server_certificate_verification(false);
    const auto answer = lax.Get("/1.jpg");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->body, "SECRET");

    // ...but never fetch_bytes, which checks it.
    EXPECT_TRUE(fetch_bytes(GbkText(server.url("/1.jpg"))).empty());
    EXPECT_EQ(server.served(), 1);
}

} // namespace
} // namespace pagora
