// Closing the real program's window while eight downloads are under way: the
// process ends within a second with exit code 0, and nothing partial is left
// under a final PDF name.
#include "blackbox_fixture.h"
#include "hostile_site.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace pagora::blackbox {
namespace {

using namespace std::chrono_literals;
using testing::Connection;
using testing::RawHttpServer;
using testing::RawRequest;

constexpr int downloads = 8;

TEST_F(Blackbox, ClosingTheWindowMidDownloadEndsAtOnceAndLeavesNoPartialPdf)
{
    // A book of 200 pages whose images come slowly, so no download can end
    // before the window is closed.
    std::atomic<int> images{0};
    const auto book = testing::serve_book({"closing", "200", [&](int page) -> std::optional<std::string> {
                                               if (page < 1 || page > 200) return std::nullopt;
                                               ++images;
                                               std::this_thread::sleep_for(40ms);
                                               return testing::jpeg_body(300, 400, page);
                                           }});
    RawHttpServer server(book);

    ASSERT_NO_FATAL_FAILURE(start());
    display->run("sh -c " + shell_quote("printf %s " + shell_quote(server.url("/book/index.html")) +
                                        " | xclip -selection clipboard >/dev/null"));
    display->run("xdotool mousemove --sync --window " + window_id + " 292 24 click --repeat 2 --delay 80 1");
    const auto book_folder = folder / "closing";
    for (int i = 0; i < 200 && !std::filesystem::is_directory(book_folder); ++i) std::this_thread::sleep_for(50ms);
    ASSERT_TRUE(std::filesystem::is_directory(book_folder)) << "the book did not load";

    // Each press a pixel apart: xdotool waits for a move that never comes when
    // the pointer is already there.
    for (int i = 0; i < downloads; ++i) click(528 + 36 + i, 105 + 23); // the download button
    for (int i = 0; i < 400 && images < 3 * downloads; ++i) std::this_thread::sleep_for(25ms);
    ASSERT_GE(images, 3 * downloads) << "the downloads did not get under way";

    keys("Escape");
    const auto code = process->wait_for_exit(1s);
    ASSERT_TRUE(code.has_value()) << (process->running() ? "still running a second after Esc"
                                                         : "ended by signal " + std::to_string(process->signal()));
    EXPECT_EQ(*code, 0);

    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().extension() != ".pdf") continue;
        int status = -1;
        run_command("qpdf --check " + shell_quote(entry.path().string()) + " >/dev/null 2>&1", &status);
        EXPECT_EQ(status, 0) << "a partial file under a final PDF name: " << entry.path();
    }
    EXPECT_FALSE(std::filesystem::exists(book_folder / "closing.pdf")) << "no download could have finished";
}

} // namespace
} // namespace pagora::blackbox
