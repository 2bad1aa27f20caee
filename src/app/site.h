#pragma once

#include "pagora_config.h"

// Addresses on the website whose books the program loads.
namespace pagora::site {

// The sample book page the book address box shows until the first load.
inline constexpr const char* sample_book_address = "http://" PAGORA_SITE_HOST "/38907795.html";
// The catalogue page the homepage button opens.
inline constexpr const char* catalogue_address = "http://" PAGORA_SITE_HOST "/explore/";

} // namespace pagora::site
