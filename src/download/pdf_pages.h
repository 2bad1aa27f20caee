#pragma once

#include "web/bytes.h"

#include <hpdf.h>

namespace pagora {

// The document's error callback: does nothing, and leaves the error recorded so
// that the document refuses every later operation.
void HPDF_STDCALL pdf_error_handler(HPDF_STATUS error_number, HPDF_STATUS detail_number, void* user_data);

// Puts the JPEG on the document's current page at (x, y) and sizes the page to
// the image, one pixel to one point; the JPEG is embedded unchanged. False when
// the image could not be placed (no current page, not a JPEG the library takes,
// a size outside the library's page limits); the document is then in its error
// state, and nothing is done to an absent page or image.
bool add_image_page(HPDF_Doc document, const Bytes& image_bytes, HPDF_REAL x, HPDF_REAL y);

} // namespace pagora
