#pragma once

#include <string>
#include <vector>

// The benchmark's sub-commands. Each measured one runs as a process of its own,
// so that its peak memory is its own; `run` starts them and prints the tables.
namespace pagora::bench {

using Arguments = std::vector<std::string>;

int make_book_command(const Arguments& args);   // FOLDER PAGES
int serve_command(const Arguments& args);       // FOLDER DELAY_MS: prints the port, then serves
int download_command(const Arguments& args);    // IMAGE_BASE_URL PAGES OUTPUT_FOLDER
int floor_command(const Arguments& args);       // IMAGE_BASE_URL PAGES [OUTPUT_FILE]
int assemble_command(const Arguments& args);    // FOLDER PAGES OUTPUT_PDF
int book_load_command(const Arguments& args);   // BOOK_PAGE_URL OUTPUT_FOLDER REPETITIONS
int text_search_command(const Arguments& args); // REPETITIONS
int run_command(const Arguments& args);         // FOLDER PAGES REPETITIONS

} // namespace pagora::bench
