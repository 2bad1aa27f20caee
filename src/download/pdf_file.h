#pragma once

#include <filesystem>
#include <hpdf.h>

namespace pagora {

// Longest tail that save_pdf_replacing adds to the target's name for its
// temporary file.
inline constexpr std::size_t temporary_suffix_length = 7; // "." and six characters

// Writes the document to a new temporary file beside the target and renames it
// over the target, so the target is always a whole earlier file or the whole
// new one, also when several workers save the same name at once. False, with
// nothing left behind, when the document is in its error state or the file
// could not be written.
bool save_pdf_replacing(HPDF_Doc document, const std::filesystem::path& target);

} // namespace pagora
