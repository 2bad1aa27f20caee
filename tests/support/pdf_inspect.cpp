#include "pdf_inspect.h"

#include <cstdio>
#include <regex>
#include <sstream>
#include <sys/wait.h>

namespace pagora::testing {
namespace {

struct Run {
    int status = -1;
    std::string output;
};

std::string quoted(const std::filesystem::path& file)
{
    std::string out = "'";
    for (char c : file.string()) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

Run run(const std::string& command)
{
    Run result;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return result;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string show_object(const std::filesystem::path& file, const std::string& object,
                        const std::string& extra = "")
{
    return run("qpdf --show-object=" + object + " " + extra + " " + quoted(file)).output;
}

std::vector<double> media_box_of(const std::string& dictionary)
{
    std::vector<double> box;
    std::smatch match;
    if (!std::regex_search(dictionary, match, std::regex(R"(/MediaBox \[ ([^\]]*)\])"))) return box;
    std::istringstream numbers(match[1].str());
    for (double value; numbers >> value;) box.push_back(value);
    return box;
}

} // namespace

PdfFile inspect_pdf(const std::filesystem::path& file)
{
    PdfFile pdf;
    // Exit status 0: no errors, 3: warnings only.
    pdf.valid = run("qpdf --check " + quoted(file)).status == 0;
    if (!pdf.valid) return pdf;

    std::istringstream lines(run("qpdf --show-pages --with-images " + quoted(file)).output);
    const std::regex page_line(R"(^page \d+: (\d+) 0 R)");
    const std::regex image_line(R"(^\s+/\S+: (\d+) 0 R)");
    const std::regex object_line(R"(^\s+(\d+) 0 R)");
    std::string section;
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_search(line, match, page_line)) {
            PdfPage page;
            page.dictionary = show_object(file, match[1]);
            page.media_box = media_box_of(page.dictionary);
            pdf.pages.push_back(page);
            section.clear();
        } else if (line.find("images:") != std::string::npos) {
            section = "images";
        } else if (line.find("content:") != std::string::npos) {
            section = "content";
        } else if (!pdf.pages.empty() && section == "images" && std::regex_search(line, match, image_line)) {
            pdf.pages.back().image_dictionary = show_object(file, match[1]);
            const std::string data = show_object(file, match[1], "--raw-stream-data");
            pdf.pages.back().image_data.assign(data.begin(), data.end());
        } else if (!pdf.pages.empty() && section == "content" && std::regex_search(line, match, object_line)) {
            pdf.pages.back().content_dictionary = show_object(file, match[1]);
        }
    }
    return pdf;
}

} // namespace pagora::testing
