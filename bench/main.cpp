#include "commands.h"

#include <cstdio>
#include <exception>
#include <map>
#include <string>

namespace {

void usage()
{
    std::fputs("usage: pagora_bench run FOLDER [PAGES [REPETITIONS]]\n"
               "       pagora_bench make-book FOLDER PAGES\n"
               "       pagora_bench serve FOLDER DELAY_MS\n"
               "       pagora_bench download IMAGE_BASE_URL PAGES OUTPUT_FOLDER\n"
               "       pagora_bench floor IMAGE_BASE_URL PAGES [OUTPUT_FILE]\n"
               "       pagora_bench assemble FOLDER PAGES OUTPUT_PDF\n"
               "       pagora_bench book-load BOOK_PAGE_URL OUTPUT_FOLDER REPETITIONS\n"
               "       pagora_bench text-search REPETITIONS\n",
               stderr);
}

} // namespace

int main(int argc, char** argv)
{
    using namespace pagora::bench;
    const std::map<std::string, int (*)(const Arguments&)> commands = {
        {"run", run_command},           {"make-book", make_book_command},
        {"serve", serve_command},       {"download", download_command},
        {"floor", floor_command},       {"assemble", assemble_command},
        {"book-load", book_load_command}, {"text-search", text_search_command},
    };
    if (argc < 2 || !commands.contains(argv[1])) {
        usage();
        return 2;
    }
    try {
        return commands.at(argv[1])(Arguments(argv + 2, argv + argc));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pagora_bench %s: %s\n", argv[1], error.what());
        return 1;
    }
}
