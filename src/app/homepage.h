#pragma once

namespace pagora {

// Handler of the homepage button: opens the website's catalogue page in the
// user's default browser. Whether that worked is not looked at.
void on_homepage_clicked();

} // namespace pagora
