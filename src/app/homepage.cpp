#include "app/homepage.h"

#include "app/site.h"

#include <QDesktopServices>
#include <QUrl>

namespace pagora {

void on_homepage_clicked()
{
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(site::catalogue_address)));
}

} // namespace pagora
