// The whole benchmark: starts the book's website, runs every contender as a
// child process in alternating order, and prints the tables.
#include "book_files.h"
#include "child_process.h"
#include "commands.h"
#include "machine.h"
#include "stats.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <stdexcept>
#include <unistd.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace pagora::bench {
namespace {

// What a user would do without the program: fetch every image with the curl
// command, one command per image, then bind the files with img2pdf.
constexpr const char* curl_each_then_img2pdf = R"(
base=$1 pages=$2 dir=$3
files=()
for i in $(seq 1 "$pages"); do
    curl -sSf -o "$dir/$i.jpg" "$base$i.jpg" || exit 1
    files+=("$dir/$i.jpg")
done
img2pdf "${files[@]}" -o "$dir/book.pdf"
)";

// The same with one curl command for the whole range of addresses (curl keeps
// the connection open between them).
constexpr const char* curl_range_then_img2pdf = R"(
base=$1 pages=$2 dir=$3
curl -sSf -o "$dir/#1.jpg" "$base[1-$pages].jpg" || exit 1
files=()
for i in $(seq 1 "$pages"); do files+=("$dir/$i.jpg"); done
img2pdf "${files[@]}" -o "$dir/book.pdf"
)";

struct Contender {
    std::string name;
    std::vector<std::string> argv;
    fs::path scratch; // emptied before every run, outside the measured time
};

struct Measured {
    std::vector<double> seconds;
    std::vector<double> peak_mb;
    std::vector<std::string> outputs;
};

double megabytes(double bytes) { return bytes / (1024.0 * 1024.0); }

// Runs every contender `repetitions` times after one unmeasured warm-up round;
// round r starts with contender r, so each takes every place in the order.
std::vector<Measured> measure(const std::vector<Contender>& contenders, int repetitions)
{
    std::vector<Measured> results(contenders.size());
    for (int round = -1; round < repetitions; ++round) {
        for (std::size_t k = 0; k < contenders.size(); ++k) {
            const std::size_t i = (k + static_cast<std::size_t>(round < 0 ? 0 : round)) % contenders.size();
            const Contender& contender = contenders[i];
            if (!contender.scratch.empty()) {
                fs::remove_all(contender.scratch);
                fs::create_directories(contender.scratch);
            }
            std::fprintf(stderr, "  %s%s\n", contender.name.c_str(), round < 0 ? " (warm-up)" : "");
            const ChildRun run = run_child(contender.argv);
            if (run.exit_code != 0)
                throw std::runtime_error(contender.name + " failed with exit code " + std::to_string(run.exit_code));
            if (round < 0) continue;
            results[i].seconds.push_back(run.seconds);
            results[i].peak_mb.push_back(run.peak_rss_kb / 1024.0);
            results[i].outputs.push_back(run.output);
        }
    }
    return results;
}

std::string spread(const Summary& s)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f–%.3f", s.min, s.max);
    return text;
}

void print_download_table(const std::vector<Contender>& contenders, const std::vector<Measured>& fast,
                          const std::vector<Measured>& slow, double image_mb)
{
    // Index 0 is the program, 1 the floor, 2 the command-line way.
    std::printf("| Download of the book | added latency | median s | min–max s | × floor | × curl + img2pdf "
                "| peak RSS MB (max) |\n|---|---|---|---|---|---|---|\n");
    for (const auto* runs : {&fast, &slow}) {
        const double floor = summarise((*runs)[1].seconds).median;
        const double cli = summarise((*runs)[2].seconds).median;
        for (std::size_t i = 0; i < contenders.size(); ++i) {
            const Summary s = summarise((*runs)[i].seconds);
            const Summary rss = summarise((*runs)[i].peak_mb);
            std::printf("| %s | %s | %.3f | %s | %.2f | %.2f | %.1f |\n", contenders[i].name.c_str(),
                        runs == &fast ? "0 ms" : "20 ms", s.median, spread(s).c_str(), s.median / floor,
                        s.median / cli, rss.max);
        }
    }
    const double pagora_peak = std::max(summarise(fast[0].peak_mb).max, summarise(slow[0].peak_mb).max);
    std::printf("\nPeak memory of the program's download: %.1f MB; the JPEGs add up to %.1f MB, "
                "so the target is at most %.1f MB.\n\n",
                pagora_peak, image_mb, image_mb + 80);
}

void print_assembly_table(int pages, const std::vector<Contender>& contenders, const std::vector<Measured>& runs)
{
    std::vector<double> in_process;
    for (const auto& output : runs[0].outputs) in_process.push_back(std::stod(output));
    const Summary inside = summarise(in_process);
    std::printf("| PDF assembly, %d JPEGs | median s | min–max s | pages/s | peak RSS MB (max) |\n"
                "|---|---|---|---|---|\n",
                pages);
    std::printf("| Pagora, assembly and save (JPEGs already in memory) | %.3f | %s | %.0f | – |\n", inside.median,
                spread(inside).c_str(), pages / inside.median);
    for (std::size_t i = 0; i < contenders.size(); ++i) {
        const Summary s = summarise(runs[i].seconds);
        std::printf("| %s | %.3f | %s | %.0f | %.1f |\n", contenders[i].name.c_str(), s.median,
                    spread(s).c_str(), pages / s.median, summarise(runs[i].peak_mb).max);
    }
    std::printf("\n");
}

void print_book_load(const std::string& output)
{
    std::istringstream lines(output);
    std::map<std::string, std::vector<double>> values;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string name;
        fields >> name;
        for (double v; fields >> v;) values[name].push_back(v);
    }
    std::printf("| Book loading, %.1f MB page | median ms | min–max ms |\n|---|---|---|\n",
                megabytes(values["page_bytes"].at(0)));
    const std::pair<const char*, const char*> rows[] = {
        {"handler_ms", "double-click handler: page fetch, conversion, three cuts, cover fetch, folder"},
        {"convert_ms", "UTF-8 to code page 936 conversion"},
        {"cuts_ms", "the three cuts (title, page count, folder address)"},
    };
    for (const auto& [key, label] : rows) {
        const auto& v = values.at(key);
        std::printf("| %s | %.2f | %.2f–%.2f |\n", label, v.at(0), v.at(1), v.at(2));
    }
    std::printf("\n");
}

void print_text_search(const std::string& output)
{
    std::printf("| text_find | MB | median ms | MB/s (median) | MB/s (slowest) |\n|---|---|---|---|---|\n");
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) std::printf("| %s |\n", line.c_str());
    std::printf("\n");
}

} // namespace

int run_command(const Arguments& args)
{
    const fs::path book = fs::absolute(argument(args, 0, "FOLDER"));
    const int pages = args.size() > 1 ? std::stoi(args[1]) : 200;
    const int repetitions = args.size() > 2 ? std::stoi(args[2]) : 5;
    const std::string self = own_executable();
    const std::string page_count = std::to_string(pages);

    if (!fs::exists(book / image_folder / (page_count + ".jpg"))) {
        std::fprintf(stderr, "Generating a %d-page book ...\n", pages);
        make_book(book, pages);
    }
    double image_bytes = 0;
    for (const auto& file : page_files(book, pages)) image_bytes += static_cast<double>(fs::file_size(file));

    const fs::path scratch = fs::temp_directory_path() / ("pagora-bench-" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    BackgroundChild server({self, "serve", book.string(), "20"});
    const std::string origin = "http://127.0.0.1:" + server.read_line();

    std::printf("%s\n", machine_description().c_str());
    std::printf("Book: %d pages of %d x %d JPEG, %.1f MB in all (%.0f KB a page on average). "
                "%d measured runs of each, after one warm-up round, in rotating order.\n\n",
                pages, page_width, page_height, megabytes(image_bytes), image_bytes / pages / 1024, repetitions);

    auto download_contenders = [&](const std::string& prefix) {
        const std::string base = origin + "/" + prefix + "/" + image_folder;
        return std::vector<Contender>{
            {"Pagora: 下载 to saved PDF", {self, "download", base, page_count, (scratch / "pagora").string()},
             scratch / "pagora"},
            {"floor: libcurl, one connection per image", {self, "floor", base, page_count}, {}},
            {"curl per image + img2pdf", {"bash", "-c", curl_each_then_img2pdf, "bash", base, page_count,
                                          (scratch / "cli").string()}, scratch / "cli"},
            {"curl URL range + img2pdf", {"bash", "-c", curl_range_then_img2pdf, "bash", base, page_count,
                                          (scratch / "range").string()}, scratch / "range"},
            {"floor, keeping the images and writing them to one file",
             {self, "floor", base, page_count, (scratch / "kept" / "images.bin").string()}, scratch / "kept"},
        };
    };
    std::fprintf(stderr, "Download, no added latency:\n");
    const auto fast_contenders = download_contenders("fast");
    const auto fast = measure(fast_contenders, repetitions);
    std::fprintf(stderr, "Download, 20 ms added latency:\n");
    const auto slow = measure(download_contenders("slow"), repetitions);
    print_download_table(fast_contenders, fast, slow, megabytes(image_bytes));

    std::fprintf(stderr, "PDF assembly:\n");
    std::vector<std::string> img2pdf = {"img2pdf"};
    for (const auto& file : page_files(book, pages)) img2pdf.push_back(file.string());
    img2pdf.insert(img2pdf.end(), {"-o", (scratch / "img2pdf" / "book.pdf").string()});
    const std::vector<Contender> assembly_contenders = {
        {"Pagora, whole process (reads the files, assembles, saves)",
         {self, "assemble", book.string(), page_count, (scratch / "assemble" / "book.pdf").string()},
         scratch / "assemble"},
        {"img2pdf, whole process", img2pdf, scratch / "img2pdf"},
    };
    print_assembly_table(pages, assembly_contenders, measure(assembly_contenders, repetitions));

    std::fprintf(stderr, "Book loading:\n");
    const ChildRun loading =
        run_child({self, "book-load", origin + "/fast/" + book_page_name, (scratch / "programs").string(), "21"});
    if (loading.exit_code != 0) throw std::runtime_error("book loading failed");
    print_book_load(loading.output);

    std::fprintf(stderr, "Text search:\n");
    const ChildRun search = run_child({self, "text-search", "7"});
    if (search.exit_code != 0) throw std::runtime_error("text search failed");
    print_text_search(search.output);

    std::printf("Load average at the end: %s\n", load_average().c_str());
    server.stop();
    fs::remove_all(scratch);
    return 0;
}

} // namespace pagora::bench
