#include "app/qt_window.h"

#include "app/edit_boxes.h"
#include "app/main_window.h"
#include "web/codepage.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QProgressBar>

#include <algorithm>
#include <memory>
#include <string>

namespace pagora {
namespace {

QString to_qstring(const GbkText& text)
{
    return QString::fromStdString(gbk_to_utf8(text));
}

} // namespace

QtWindow::QtWindow(MainWindow& main_window, QString program_folder)
    : main_window_(&main_window), program_folder_(std::move(program_folder)), caller_(&main_window)
{
    // Once the window is closed the program is ending: workers must not wait
    // on it any more.
    shut_down_on_close_ =
        QObject::connect(&main_window, &MainWindow::closed, &main_window, [this] { shut_down(); });
}

QtWindow::~QtWindow()
{
    QObject::disconnect(shut_down_on_close_);
}

void QtWindow::shut_down()
{
    caller_.shut_down();
}

QWidget* QtWindow::find(std::string_view control) const
{
    return main_window_ ? main_window_->control(control) : nullptr;
}

GbkText QtWindow::read_text(std::string_view control)
{
    auto result = std::make_shared<GbkText>();
    caller_.run([this, name = std::string(control), result] {
        QWidget* widget = find(name);
        if (auto* line = qobject_cast<GbkLineEdit*>(widget)) *result = line->read_gbk();
        else if (auto* lines = qobject_cast<GbkPlainTextEdit*>(widget)) *result = lines->read_gbk();
    });
    return std::move(*result);
}

void QtWindow::write_text(std::string_view control, const GbkText& text)
{
    caller_.run([this, name = std::string(control), text] {
        QWidget* widget = find(name);
        if (auto* line = qobject_cast<GbkLineEdit*>(widget)) line->write_gbk(text);
        else if (auto* lines = qobject_cast<GbkPlainTextEdit*>(widget)) lines->write_gbk(text);
    });
}

void QtWindow::write_caption(std::string_view control, const GbkText& caption)
{
    caller_.run([this, name = std::string(control), caption = to_qstring(caption)] {
        QWidget* widget = find(name);
        if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(caption);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(caption);
    });
}

void QtWindow::write_picture(std::string_view control, const Bytes& image)
{
    // Decoding needs no GUI thread; only the pixmap does.
    auto decoded = std::make_shared<QImage>(
        QImage::fromData(QByteArrayView(image.data(), static_cast<qsizetype>(image.size()))));
    caller_.run([this, name = std::string(control), decoded] {
        auto* label = qobject_cast<QLabel*>(find(name));
        if (label == nullptr) return;
        if (decoded->isNull()) label->clear();
        else label->setPixmap(QPixmap::fromImage(*decoded));
    });
}

void QtWindow::write_position(std::string_view control, int position)
{
    caller_.run([this, name = std::string(control), position] {
        if (auto* bar = qobject_cast<QProgressBar*>(find(name)))
            bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
    });
}

GbkText QtWindow::clipboard_text()
{
    auto result = std::make_shared<GbkText>();
    caller_.run([result] {
        if (const QClipboard* clipboard = QGuiApplication::clipboard())
            *result = utf8_to_gbk(clipboard->text().toStdString());
    });
    return std::move(*result);
}

std::filesystem::path QtWindow::program_folder()
{
    return std::filesystem::path(QFile::encodeName(program_folder_).toStdString());
}

void QtWindow::show_message(const GbkText& text, const GbkText& caption)
{
    caller_.run_until_done([this, text = to_qstring(text), caption = to_qstring(caption)](
                               GuiThreadCaller::Done done) {
        // Modeless: the main window stays usable while the box is open.
        auto* box = new QMessageBox(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, main_window_.data());
        box->setWindowModality(Qt::NonModal);
        box->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(box, &QMessageBox::finished, box, [done] { done(); });
        QObject::connect(box, &QObject::destroyed, [done] { done(); });
        box->show();
    });
}

} // namespace pagora
