// The cover box decodes whatever the server sends as page 1. A small JPEG
// whose header claims 30000 x 30000 pixels would need gigabytes once decoded;
// the window refuses it and shows no picture instead.
#include "app/main_window.h"
#include "app/qt_window.h"
#include "jpeg_fixture.h"
#include "ui/controls.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace pagora {
namespace {

// A real JPEG whose frame header is changed to claim the given size.
Bytes jpeg_claiming(int width, int height)
{
    Bytes jpeg = testing::make_jpeg(16, 16);
    const Bytes frame_marker{0xFF, 0xC0};
    auto at = std::search(jpeg.begin(), jpeg.end(), frame_marker.begin(), frame_marker.end());
    EXPECT_NE(at, jpeg.end());
    if (at == jpeg.end()) return jpeg;
    at += 5; // marker, length, precision
    *at++ = static_cast<std::uint8_t>(height >> 8);
    *at++ = static_cast<std::uint8_t>(height & 0xFF);
    *at++ = static_cast<std::uint8_t>(width >> 8);
    *at = static_cast<std::uint8_t>(width & 0xFF);
    return jpeg;
}

TEST(CoverBox, RefusesAPictureThatWouldTakeGigabytesToDecode)
{
    MainWindow main_window;
    QtWindow window(main_window, QStringLiteral("."));
    auto* cover = main_window.findChild<QLabel*>(QString::fromUtf8(control::cover_box.data(),
                                                                   static_cast<qsizetype>(control::cover_box.size())));
    ASSERT_NE(cover, nullptr);

    window.write_picture(control::cover_box, testing::make_jpeg(16, 16));
    ASSERT_FALSE(cover->pixmap().isNull()) << "a sound cover is shown";

    const auto start = std::chrono::steady_clock::now();
    window.write_picture(control::cover_box, jpeg_claiming(30000, 30000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(cover->pixmap().isNull()) << "the bomb was decoded";
}

} // namespace
} // namespace pagora
