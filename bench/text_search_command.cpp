// text_find over 1, 5 and 10 MB: a page-like GBK text, and a repetitive one
// that makes a naive search quadratic; the needle is found only at the end.
#include "commands.h"
#include "stats.h"

#include "book/book_page.h"
#include "web/text.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>

namespace pagora::bench {
namespace {

// GBK text: two-byte characters (lead 0xB0..0xF7, trail 0xA1..0xFE) with ASCII
// markup between them, as a converted book page holds.
std::string page_like_text(std::size_t size)
{
    std::mt19937 random(7);
    std::string text;
    text.reserve(size + 64);
    while (text.size() < size) {
        if (random() % 8 == 0) {
            text += "<p class=\"form\" value=\"";
        } else {
            text += static_cast<char>(0xB0 + random() % 0x48);
            text += static_cast<char>(0xA1 + random() % 0x5E);
        }
    }
    text.resize(size);
    return text;
}

struct Case {
    const char* name;
    std::string haystack; // 10 MB; prefixes give the smaller sizes
    std::string needle;
};

} // namespace

int text_search_command(const Arguments& args)
{
    const int repetitions = std::stoi(argument(args, 0, "REPETITIONS"));
    const std::size_t mb = std::size_t(1) << 20;
    const Case cases[] = {
        {"page text, book folder marker", page_like_text(10 * mb), book_page::folder_left.bytes()},
        {"\"aaa...\", needle \"aaa...ab\"", std::string(10 * mb, 'a'), std::string(999, 'a') + "b"},
    };
    for (const auto& c : cases) {
        for (std::size_t size_mb : {1, 5, 10}) {
            // The needle closes the text, after an ASCII byte so it begins a character.
            const GbkText text(c.haystack.substr(0, size_mb * mb - c.needle.size() - 1) + " " + c.needle);
            const GbkText needle(c.needle);
            std::vector<double> seconds;
            for (int i = 0; i < repetitions; ++i) {
                const auto begin = std::chrono::steady_clock::now();
                const int found = text_find(text, needle);
                seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
                if (found != static_cast<int>(text.size() - needle.size()) + 1)
                    throw std::runtime_error("text_find missed the needle");
            }
            const Summary s = summarise(seconds);
            std::printf("%s | %zu | %.3f | %.0f | %.0f\n", c.name, size_mb, s.median * 1000, size_mb / s.median,
                        size_mb / s.max);
        }
    }
    return 0;
}

} // namespace pagora::bench
