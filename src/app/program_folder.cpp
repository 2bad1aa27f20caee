#include "app/program_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pagora {
namespace {

bool can_write_in(const QString& folder)
{
    if (folder.isEmpty()) return false;
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

// The folders an installed program lives in. Even when they are writable (the
// program run as root) books must not land among the system's programs.
bool is_system_folder(const QString& folder)
{
    const QString path = QDir::cleanPath(folder);
    for (const char* prefix : {"/usr", "/opt", "/bin", "/sbin", "/snap"}) {
        const QString system = QString::fromLatin1(prefix);
        if (path == system || path.startsWith(system + QLatin1Char('/'))) return true;
    }
    return false;
}

} // namespace

QString choose_program_folder(const QString& application_folder)
{
    if (can_write_in(application_folder) && !is_system_folder(application_folder))
        return application_folder;

    QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (downloads.isEmpty()) downloads = QDir::homePath();
    QDir().mkpath(downloads);
    return downloads;
}

} // namespace pagora
