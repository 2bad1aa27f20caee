#include "download/download_book.h"

#include "book_fixture.h"
#include "pdf_inspect.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace pagora {
namespace {

using testing::inspect_pdf;
using testing::make_jpeg;
using namespace download_texts;

class DownloadBook : public testing::BookFixture {};

const std::vector<double> blank_page{0, 0, 595, 841};

TEST_F(DownloadBook, PutsEveryImageUnchangedOnAPageOfItsOwnSize)
{
    const Bytes pages[] = {make_jpeg(1000, 1414, 1), make_jpeg(1000, 1414, 2), make_jpeg(1000, 1414, 3)};
    for (int i = 0; i < 3; ++i) set_page(i + 1, pages[i]);
    set_page_count("3");

    download_book(window_, save_directory_);

    EXPECT_EQ(targets_requested(),
              (std::vector<std::string>{"/book/files/mobile/1.jpg", "/book/files/mobile/2.jpg",
                                        "/book/files/mobile/3.jpg"}));
    EXPECT_EQ(captions_written(), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(positions_written(), (std::vector<int>{33, 66, 100}));
    ASSERT_EQ(window_.messages().size(), 1u);
    EXPECT_EQ(window_.messages()[0].text, done);
    EXPECT_EQ(window_.messages()[0].caption, caption);

    const auto pdf = inspect_pdf(pdf_path());
    ASSERT_TRUE(pdf.valid);
    ASSERT_EQ(pdf.pages.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const auto& page = pdf.pages[i];
        EXPECT_EQ(page.media_box, (std::vector<double>{0, 0, 1000, 1414})) << "page " << i + 1;
        EXPECT_EQ(page.image_data, pages[i]) << "page " << i + 1 << " does not hold its JPEG byte for byte";
        EXPECT_NE(page.image_dictionary.find("/DCTDecode"), std::string::npos) << page.image_dictionary;
        EXPECT_EQ(page.image_dictionary.find("/FlateDecode"), std::string::npos) << page.image_dictionary;
        EXPECT_NE(page.content_dictionary.find("/FlateDecode"), std::string::npos) << page.content_dictionary;
    }
    EXPECT_EQ(files_in_folder(), std::vector<std::string>{"Sample Book.pdf"});
}

TEST_F(DownloadBook, ReadsThePageCountBoxAsAnInteger)
{
    struct Case {
        const char* box;
        std::size_t fetched;
        bool done_shown;
    };
    const Case cases[] = {
        {"", 0, true},      // nothing to fetch: one blank page, and 0 passes equal 0
        {"abc", 0, true},
        {"-3", 0, false},   // 0 passes differ from -3
        {"12\xD2\xB3", 12, true}, // 12页
    };
    for (int page = 1; page <= 12; ++page) set_page(page, make_jpeg(page == 2 ? 60 : 40, page == 2 ? 70 : 50, page));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        std::filesystem::remove(pdf_path());
        const auto requests_before = server_.requests().size();
        const auto messages_before = window_.messages().size();
        set_page_count(c.box);

        download_book(window_, save_directory_);

        EXPECT_EQ(server_.requests().size() - requests_before, c.fetched);
        const auto messages = window_.messages();
        ASSERT_EQ(messages.size() - messages_before, c.done_shown ? 1u : 0u);
        if (c.done_shown) {
            EXPECT_EQ(messages.back().text, done);
        }
        const auto pdf = inspect_pdf(pdf_path());
        ASSERT_TRUE(pdf.valid);
        if (c.fetched == 0) {
            ASSERT_EQ(pdf.pages.size(), 1u);
            EXPECT_EQ(pdf.pages[0].media_box, blank_page);
            EXPECT_TRUE(pdf.pages[0].image_data.empty());
        } else {
            ASSERT_EQ(pdf.pages.size(), c.fetched);
            EXPECT_EQ(pdf.pages[1].media_box, (std::vector<double>{0, 0, 60, 70}));
        }
    }
}

TEST_F(DownloadBook, WorksOnWithThePageCountReadAtTheStart)
{
    for (int page = 1; page <= 10; ++page) set_page(page, make_jpeg(30, 40, page));
    set_page_count("10");
    int base_reads = 0;
    window_.on_read([&](std::string_view control) {
        // The image address of page 5 is being built: the user types 20.
        if (control == control::image_base_box && ++base_reads == 5) set_page_count("20");
    });

    download_book(window_, save_directory_);

    EXPECT_EQ(server_.requests().size(), 10u);
    const auto positions = positions_written();
    ASSERT_EQ(positions.size(), 10u);
    EXPECT_EQ(positions[3], 40);  // page 4 of 10
    EXPECT_EQ(positions[5], 30);  // page 6 of 20
    EXPECT_EQ(positions[9], 50);  // page 10 of 20
    EXPECT_TRUE(window_.messages().empty()) << "10 pages done is not the 20 the box holds";
    const auto pdf = inspect_pdf(pdf_path());
    ASSERT_TRUE(pdf.valid);
    EXPECT_EQ(pdf.pages.size(), 10u);
}

TEST_F(DownloadBook, NamesTheFileAfterTheTitleHeldAfterTheLastPage)
{
    set_page(1, make_jpeg(30, 40, 1));
    set_page(2, make_jpeg(30, 40, 2));
    set_page_count("2");
    window_.on_read([&](std::string_view control) {
        if (control == control::image_base_box) window_.set_text(control::title_box, "Renamed/Book"_gbk);
    });

    download_book(window_, save_directory_);

    EXPECT_EQ(files_in_folder(), std::vector<std::string>{"Renamed_Book.pdf"});
    EXPECT_EQ(window_.read_text(control::title_box), "Renamed/Book"_gbk) << "the title box keeps its text";
    EXPECT_EQ(inspect_pdf(pdf_path("Renamed_Book.pdf")).pages.size(), 2u);
}

TEST_F(DownloadBook, ReportsFailureInsteadOfSuccessWhenAPageCannotBePlaced)
{
    set_page(1, make_jpeg(30, 40, 1));
    set_page(2, make_jpeg(30, 40, 2));
    set_page(4, make_jpeg(30, 40, 4)); // page 3 answers with the server's error page
    struct Case {
        const char* count;
        std::vector<std::string> captions;
        std::vector<int> positions;
    };
    // Page 3 as the last page; then in the middle, where the pages after it
    // are not fetched since no PDF can come of them.
    const Case cases[] = {{"3", {"1", "2", "3"}, {33, 66, 100}}, {"4", {"1", "2", "3"}, {25, 50, 75}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        const auto writes_before = window_.writes().size();
        const auto messages_before = window_.messages().size();
        set_page_count(c.count);

        download_book(window_, save_directory_);

        std::vector<std::string> captions;
        std::vector<int> positions;
        const auto writes = window_.writes();
        for (auto i = writes_before; i < writes.size(); ++i) {
            if (writes[i].control == control::progress_label) captions.push_back(writes[i].text.bytes());
            if (writes[i].control == control::progress_bar) positions.push_back(writes[i].position);
        }
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(positions, c.positions);
        const auto messages = window_.messages();
        ASSERT_EQ(messages.size(), messages_before + 1);
        EXPECT_EQ(messages.back().text, failed_at_page(3));
        EXPECT_EQ(messages.back().caption, caption);
        EXPECT_TRUE(files_in_folder().empty()) << "neither a PDF nor a temporary file may be left";
    }
    EXPECT_EQ(failed_at_page(3), GbkText("\xCF\xC2\xD4\xD8\xCA\xA7\xB0\xDC\xA3\xBA\xB5\xDA 3 \xD2\xB3"));
    EXPECT_EQ(server_.requests().back().target, "/book/files/mobile/3.jpg");
}

TEST_F(DownloadBook, RejectsPagesOutsideThePageSizeLimits)
{
    for (const auto& [width, height] : {std::pair{2, 40}, std::pair{40, 2}, std::pair{14401, 8}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        set_page(1, make_jpeg(width, height));
        set_page_count("1");
        const auto messages_before = window_.messages().size();

        download_book(window_, save_directory_);

        ASSERT_EQ(window_.messages().size(), messages_before + 1);
        EXPECT_EQ(window_.messages().back().text, failed_at_page(1));
        EXPECT_TRUE(files_in_folder().empty());
    }
}

TEST_F(DownloadBook, ReportsAFileThatCannotBeWritten)
{
    set_page_count("");
    std::ofstream(folder_ / "plain-file") << "x";
    for (const auto& folder : {folder_ / "missing", folder_ / "plain-file"}) {
        SCOPED_TRACE(folder.string());
        save_directory_.set(folder);
        const auto messages_before = window_.messages().size();

        download_book(window_, save_directory_);

        ASSERT_EQ(window_.messages().size(), messages_before + 1);
        EXPECT_EQ(window_.messages().back().text, failed_to_write(folder / "Sample Book.pdf"));
        EXPECT_EQ(window_.messages().back().caption, caption);
    }
    EXPECT_EQ(files_in_folder(), std::vector<std::string>{"plain-file"});
}

TEST_F(DownloadBook, WritesBesideTheCurrentFolderWhenNoBookWasLoaded)
{
    set_page_count("");
    save_directory_.set({});
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
    download_book(window_, save_directory_);
    std::filesystem::current_path(previous);

    EXPECT_EQ(files_in_folder(), std::vector<std::string>{"Sample Book.pdf"});
}

TEST_F(DownloadBook, TwoWorkersSavingTheSameBookNeverLeaveAPartialFile)
{
    // Large pages make each save take long enough to overlap.
    for (int page = 1; page <= 4; ++page) set_page(page, make_jpeg(1500, 2000, page));
    set_page_count("4");
    const auto target = pdf_path();

    std::atomic<bool> running{true};
    int partial = 0;
    int whole = 0;
    std::thread watcher([&] {
        while (running) {
            const Bytes content = read_file(target);
            if (content.empty()) continue; // not there yet
            const std::string_view text = as_chars(content);
            if (text.starts_with("%PDF-") && text.ends_with("%%EOF\n")) ++whole;
            else ++partial;
        }
    });
    for (int round = 0; round < 3; ++round) {
        std::thread first([&] { download_book(window_, save_directory_); });
        std::thread second([&] { download_book(window_, save_directory_); });
        first.join();
        second.join();
    }
    running = false;
    watcher.join();

    EXPECT_EQ(partial, 0) << "a reader saw a half-written PDF";
    EXPECT_GT(whole, 0);
    EXPECT_EQ(window_.messages().size(), 6u);
    EXPECT_EQ(files_in_folder(), std::vector<std::string>{"Sample Book.pdf"});
    const auto pdf = inspect_pdf(target);
    ASSERT_TRUE(pdf.valid);
    EXPECT_EQ(pdf.pages.size(), 4u);
}

} // namespace
} // namespace pagora
