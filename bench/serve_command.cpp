#include "book_server.h"
#include "commands.h"
#include "stats.h"

#include <cstdio>

namespace pagora::bench {

int serve_command(const Arguments& args)
{
    BookServer server(argument(args, 0, "FOLDER"),
                      std::chrono::milliseconds(std::stoi(argument(args, 1, "DELAY_MS"))));
    const int port = server.bind();
    if (port <= 0) return 1;
    std::printf("%d\n", port);
    std::fflush(stdout);
    server.listen();
    return 0;
}

} // namespace pagora::bench
