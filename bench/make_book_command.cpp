#include "book_files.h"
#include "commands.h"
#include "stats.h"

namespace pagora::bench {

int make_book_command(const Arguments& args)
{
    make_book(argument(args, 0, "FOLDER"), std::stoi(argument(args, 1, "PAGES")));
    return 0;
}

} // namespace pagora::bench
