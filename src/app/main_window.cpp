#include "app/main_window.h"

#include "app/edit_boxes.h"
#include "app/site.h"
#include "ui/controls.h"
#include "web/gbk_text.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace pagora {
namespace {

const QColor light_grey(236, 236, 236);

QString qstring(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

template <typename Widget>
Widget* place(QWidget* parent, std::string_view name, QRect geometry)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(qstring(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel* add_label(QWidget* parent, std::string_view name, QRect geometry, const char* caption)
{
    auto* label = place<QLabel>(parent, name, geometry);
    label->setText(QString::fromUtf8(caption));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setWordWrap(false);
    return label;
}

enum class Border { sunken, single_line };

// Single-line boxes; their look is set by a style sheet so that the flat
// one-pixel frame and the background hold under every widget style.
GbkLineEdit* add_line_box(QWidget* parent, std::string_view name, QRect geometry,
                          Qt::Alignment alignment, Border border, QColor background)
{
    auto* box = place<GbkLineEdit>(parent, name, geometry);
    box->setAlignment(alignment | Qt::AlignVCenter);
    const QString colours = QStringLiteral("color: black; background-color: %1;").arg(background.name());
    if (border == Border::single_line)
        box->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid #646464; %1 }").arg(colours));
    else
        box->setStyleSheet(QStringLiteral("QLineEdit { border: 2px inset #a0a0a0; %1 }").arg(colours));
    return box;
}

QPushButton* add_button(QWidget* parent, std::string_view name, QRect geometry, const char* caption)
{
    auto* button = place<QPushButton>(parent, name, geometry);
    button->setText(QString::fromUtf8(caption));
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Pagora 图书杂志下载@By：1.02"));
    // Without a frame the client area is the whole window; once the window
    // manager reports its frame, fit_outer_size takes the frame off.
    setFixedSize(outer_width, outer_height);
    build_controls();
    centre_on_screen();
}

void MainWindow::build_controls()
{
    namespace c = control;
    const QColor white(Qt::white);

    add_label(this, c::label_book_page, {144, 8, 48, 32}, "书籍页：");
    auto* book_address = add_line_box(this, c::book_address_box, {192, 8, 200, 32}, Qt::AlignHCenter,
                                      Border::sunken, white);
    book_address->write_gbk(GbkText(site::sample_book_address));
    add_label(this, c::label_title, {392, 3, 40, 40}, "书名：");
    auto* title = add_line_box(this, c::title_box, {432, 7, 192, 32}, Qt::AlignHCenter,
                               Border::single_line, light_grey);

    auto* cover_frame = place<QLabel>(this, c::cover_frame, {16, 8, 128, 168});
    cover_frame->setFrameShape(QFrame::NoFrame);
    auto* cover = place<QLabel>(cover_frame, c::cover_box, {0, 0, 116, 160});
    cover->setFrameShape(QFrame::Box);
    cover->setLineWidth(1);
    cover->setScaledContents(true); // stretched to the box, proportions not kept

    auto* thread_caption = add_label(this, c::label_thread_count, {148, 61, 48, 24}, "线程数：");
    thread_caption->setAttribute(Qt::WA_TranslucentBackground);
    auto* thread_count = add_line_box(this, c::thread_count_box, {193, 61, 24, 24}, Qt::AlignHCenter,
                                      Border::single_line, white);
    thread_count->write_gbk("10"_gbk);

    auto* progress = place<QProgressBar>(this, c::progress_bar, {222, 59, 234, 32});
    progress->setRange(0, 100);
    progress->setValue(0);
    progress->setOrientation(Qt::Horizontal);
    progress->setTextVisible(false);
    // Drawn in blocks, not as a smooth bar.
    progress->setStyleSheet(QStringLiteral("QProgressBar { border: 1px inset #a0a0a0; background: white; }"
                                           "QProgressBar::chunk { background: #06b025; width: 8px; margin: 2px 1px; }"));

    add_label(this, c::label_page_count, {458, 58, 30, 32}, "页数：");
    auto* page_count = add_line_box(this, c::page_count_box, {493, 59, 27, 32}, Qt::AlignHCenter,
                                    Border::sunken, light_grey);
    add_label(this, c::label_done, {520, 64, 56, 24}, "下载完成：");
    auto* progress_label = add_label(this, c::progress_label, {576, 60, 32, 28}, "");
    progress_label->setAlignment(Qt::AlignCenter);
    progress_label->setAutoFillBackground(true);
    QPalette white_background = progress_label->palette();
    white_background.setColor(QPalette::Window, white);
    progress_label->setPalette(white_background);
    add_label(this, c::label_pages_unit, {613, 64, 16, 24}, "个");

    auto* homepage = add_button(this, c::homepage_button, {184, 104, 80, 48}, "Pagora主页");
    auto* download = add_button(this, c::download_button, {528, 105, 80, 47}, "下载");

    // Below the window's bottom edge: never seen, but full boxes all the same.
    auto* source = place<GbkPlainTextEdit>(this, c::source_box, {16, 240, 360, 480});
    source->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    source->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    source->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    source->setTabChangesFocus(true);
    auto* image_base = add_line_box(this, c::image_base_box, {192, 288, 440, 40}, Qt::AlignLeft,
                                    Border::sunken, white);

    QWidget* tab_cycle[] = {book_address, title, thread_count, page_count, homepage, download, source, image_base};
    for (std::size_t i = 1; i < std::size(tab_cycle); ++i) setTabOrder(tab_cycle[i - 1], tab_cycle[i]);

    connect(book_address, &GbkLineEdit::doubleClicked, this, &MainWindow::bookAddressDoubleClicked);
    connect(download, &QPushButton::clicked, this, &MainWindow::downloadClicked);
    connect(homepage, &QPushButton::clicked, this, &MainWindow::homepageClicked);
}

QWidget* MainWindow::control(std::string_view name) const
{
    return findChild<QWidget*>(qstring(name));
}

void MainWindow::centre_on_screen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    // move() places the frame's top left corner.
    move(area.x() + (area.width() - outer_width) / 2, area.y() + (area.height() - outer_height) / 2);
}

void MainWindow::fit_outer_size()
{
    const QRect frame = frameGeometry();
    const int frame_width = frame.width() - width();
    const int frame_height = frame.height() - height();
    // Ignore a frame the window manager has not reported sensibly (yet).
    if (frame_width < 0 || frame_height < 0 || frame_width >= outer_width / 2 || frame_height >= outer_height / 2)
        return;
    const QSize client(outer_width - frame_width, outer_height - frame_height);
    if (client != size()) setFixedSize(client);
}

bool MainWindow::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
        if (!placed_) {
            placed_ = true;
            // The window manager may report its frame some time after the
            // window appears.
            for (int delay : {50, 250, 1000}) QTimer::singleShot(delay, this, &MainWindow::fit_outer_size);
        }
        fit_outer_size();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        fit_outer_size();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // Controls pass on the keys they do not use, so Esc arrives here from any of
    // them.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

} // namespace pagora
