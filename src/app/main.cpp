#include "app/bindings.h"
#include "app/main_window.h"
#include "app/program_folder.h"
#include "app/qt_window.h"
#include "download/save_directory.h"
#include "pagora_config.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

#include <csignal>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    using namespace pagora;

    // A server that drops a connection must not kill the process with SIGPIPE;
    // the write fails instead and the download goes on with what it has.
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif

    // Nothing made here is ever destroyed: download workers are detached
    // threads that may still be using the window and the save directory when
    // the program ends (see the end of main).
    auto* application = new QApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral(PAGORA_PRODUCT_NAME));
    QApplication::setApplicationVersion(QStringLiteral(PAGORA_VERSION));
    // Ties the running window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Pagora"));
    QIcon icon = QIcon::fromTheme(QStringLiteral("org.example.Pagora"));
    if (icon.isNull()) {
        icon.addFile(QStringLiteral(":/icons/pagora-48.png"));
        icon.addFile(QStringLiteral(":/icons/pagora-256.png"));
    }
    QApplication::setWindowIcon(icon);

    // Relative paths (the PDFs) land in the program's folder.
    const QString folder = choose_program_folder(QCoreApplication::applicationDirPath());
    QDir::setCurrent(folder);

    auto* save_directory = new SaveDirectory;
    auto* main_window = new MainWindow;
    auto* window = new QtWindow(*main_window, folder);

    bind_handlers(*main_window, *window, *save_directory);
    // An open completion box must not keep the program alive once the main
    // window is closed.
    QObject::connect(main_window, &MainWindow::closed, application, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    main_window->show();
    QApplication::exec();

    // Workers may be waiting on the window or still downloading: wake them, and
    // end the process without running the destructors they might still use.
    window->shut_down();
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}
