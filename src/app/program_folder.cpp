#include "app/program_folder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <unistd.h>

namespace pagora {
namespace {

bool can_write_in(const QString& folder)
{
    if (folder.isEmpty() || !QDir(folder).exists()) return false;
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

} // namespace

QString choose_program_folder(const QString& application_folder)
{
    if (can_write_in(application_folder)) return application_folder;

    QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (downloads.isEmpty()) downloads = QDir::homePath();
    QDir().mkpath(downloads);
    return downloads;
}

} // namespace pagora
