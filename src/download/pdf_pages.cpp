#include "download/pdf_pages.h"

namespace pagora {

void HPDF_STDCALL pdf_error_handler(HPDF_STATUS, HPDF_STATUS, void*) {}

bool add_image_page(HPDF_Doc document, const Bytes& image_bytes, HPDF_REAL x, HPDF_REAL y)
{
    if (!document || HPDF_GetError(document) != HPDF_OK) return false;
    HPDF_Page page = HPDF_GetCurrentPage(document);
    if (!page) return false;
    // The library would turn empty data into the same "no image"; it is not
    // handed a null pointer.
    HPDF_Image image = image_bytes.empty()
                           ? nullptr
                           : HPDF_LoadJpegImageFromMem(document, image_bytes.data(),
                                                       static_cast<HPDF_UINT>(image_bytes.size()));
    const auto width = image ? static_cast<HPDF_REAL>(HPDF_Image_GetWidth(image)) : HPDF_REAL(0);
    const auto height = image ? static_cast<HPDF_REAL>(HPDF_Image_GetHeight(image)) : HPDF_REAL(0);
    // A size of 0 is refused by the library, which puts the document into its
    // error state just as any other page it cannot take.
    HPDF_Page_SetWidth(page, width);
    HPDF_Page_SetHeight(page, height);
    if (!image || HPDF_GetError(document) != HPDF_OK) return false;
    HPDF_Page_DrawImage(page, image, x, y, width, height);
    return HPDF_GetError(document) == HPDF_OK;
}

} // namespace pagora
