#include "download/pdf_file.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

namespace pagora {
namespace {

std::string random_tail()
{
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<unsigned> counter{0};
    thread_local std::mt19937 generator(std::random_device{}() ^ counter.fetch_add(1));
    std::uniform_int_distribution<int> pick(0, sizeof letters - 2);
    std::string tail = ".";
    while (tail.size() < temporary_suffix_length) tail += letters[pick(generator)];
    return tail;
}

// Creates a file of a fresh name beside the target (exclusive mode "x", so
// never one that another worker is writing); empty path when none could be
// created.
std::filesystem::path create_temporary_beside(const std::filesystem::path& target)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::filesystem::path candidate = target;
        candidate += random_tail();
        errno = 0;
        if (std::FILE* file = std::fopen(candidate.string().c_str(), "wbx")) {
            std::fclose(file);
            return candidate;
        }
        if (errno != EEXIST) break;
    }
    return {};
}

} // namespace

bool save_pdf_replacing(HPDF_Doc document, const std::filesystem::path& target)
{
    if (!document || HPDF_GetError(document) != HPDF_OK) return false;
    const auto temporary = create_temporary_beside(target);
    if (temporary.empty()) return false;
    std::error_code ignored;
    if (HPDF_SaveToFile(document, temporary.string().c_str()) != HPDF_OK) {
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    std::error_code renamed;
    std::filesystem::rename(temporary, target, renamed);
    if (renamed) {
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

} // namespace pagora
