#include "app/homepage.h"
#include "app/main_window.h"
#include "app/site.h"
#include "pagora_config.h"
#include "qt_test_support.h"
#include "ui/controls.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace pagora;
namespace c = pagora::control;

namespace {

QString q(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<MainWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    template <typename Widget = QWidget>
    Widget* get(std::string_view name)
    {
        auto* widget = qobject_cast<Widget*>(window->control(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, HasItsTitleFixedSizeAndCentredPlace)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Pagora 图书杂志下载@By：1.02"));
    // No frame on the offscreen platform: the client area is the whole window.
    EXPECT_EQ(window->frameGeometry().size(), QSize(641, 213));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the user must not resize it";
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window->frameGeometry().topLeft(),
              QPoint(screen.x() + (screen.width() - 641) / 2, screen.y() + (screen.height() - 213) / 2));

    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));
}

struct ControlCase {
    std::string_view name;
    const char* kind;
    QRect geometry;
};

TEST_F(MainWindowTest, HasTheEighteenControlsInTheirPlaces)
{
    const ControlCase cases[] = {
        {c::label_book_page, "QLabel", {144, 8, 48, 32}},
        {c::book_address_box, "QLineEdit", {192, 8, 200, 32}},
        {c::label_title, "QLabel", {392, 3, 40, 40}},
        {c::title_box, "QLineEdit", {432, 7, 192, 32}},
        {c::cover_frame, "QLabel", {16, 8, 128, 168}},
        {c::cover_box, "QLabel", {0, 0, 116, 160}},
        {c::label_thread_count, "QLabel", {148, 61, 48, 24}},
        {c::thread_count_box, "QLineEdit", {193, 61, 24, 24}},
        {c::progress_bar, "QProgressBar", {222, 59, 234, 32}},
        {c::label_page_count, "QLabel", {458, 58, 30, 32}},
        {c::page_count_box, "QLineEdit", {493, 59, 27, 32}},
        {c::label_done, "QLabel", {520, 64, 56, 24}},
        {c::progress_label, "QLabel", {576, 60, 32, 28}},
        {c::label_pages_unit, "QLabel", {613, 64, 16, 24}},
        {c::homepage_button, "QPushButton", {184, 104, 80, 48}},
        {c::download_button, "QPushButton", {528, 105, 80, 47}},
        {c::source_box, "QPlainTextEdit", {16, 240, 360, 480}},
        {c::image_base_box, "QLineEdit", {192, 288, 440, 40}},
    };
    ASSERT_EQ(std::size(cases), c::all.size());
    for (const auto& expected : cases) {
        SCOPED_TRACE(std::string(expected.name));
        QWidget* widget = window->control(expected.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->inherits(expected.kind));
        EXPECT_EQ(widget->geometry(), expected.geometry);
        EXPECT_TRUE(widget->isVisible());
        EXPECT_TRUE(widget->isEnabled());
    }
    EXPECT_EQ(window->control(c::cover_box)->parentWidget(), window->control(c::cover_frame));
    // The two hand-over boxes lie wholly below the window's bottom edge.
    EXPECT_GE(window->control(c::source_box)->y(), window->height());
    EXPECT_GE(window->control(c::image_base_box)->y(), window->height());
}

TEST_F(MainWindowTest, ShowsItsDefaultTexts)
{
    const std::pair<std::string_view, QString> captions[] = {
        {c::label_book_page, QStringLiteral("书籍页：")},   {c::label_title, QStringLiteral("书名：")},
        {c::label_thread_count, QStringLiteral("线程数：")}, {c::label_page_count, QStringLiteral("页数：")},
        {c::label_done, QStringLiteral("下载完成：")},      {c::progress_label, QString()},
        {c::label_pages_unit, QStringLiteral("个")},
    };
    for (const auto& [name, caption] : captions) EXPECT_EQ(get<QLabel>(name)->text(), caption) << name;

    EXPECT_EQ(get<QLineEdit>(c::book_address_box)->text(),
              QStringLiteral("http://") + QStringLiteral(PAGORA_SITE_HOST) + QStringLiteral("/38907795.html"));
    EXPECT_EQ(get<QLineEdit>(c::thread_count_box)->text(), QStringLiteral("10"));
    for (auto name : {c::title_box, c::page_count_box, c::image_base_box})
        EXPECT_TRUE(get<QLineEdit>(name)->text().isEmpty()) << name;
    EXPECT_TRUE(get<QPlainTextEdit>(c::source_box)->toPlainText().isEmpty());
    EXPECT_EQ(get<QPushButton>(c::homepage_button)->text(), QStringLiteral("Pagora主页"));
    EXPECT_EQ(get<QPushButton>(c::download_button)->text(), QStringLiteral("下载"));

    auto* bar = get<QProgressBar>(c::progress_bar);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(MainWindowTest, EditBoxesAreWritableUnlimitedAndAligned)
{
    const std::pair<std::string_view, Qt::Alignment> boxes[] = {
        {c::book_address_box, Qt::AlignHCenter}, {c::title_box, Qt::AlignHCenter},
        {c::thread_count_box, Qt::AlignHCenter}, {c::page_count_box, Qt::AlignHCenter},
        {c::image_base_box, Qt::AlignLeft},
    };
    for (const auto& [name, alignment] : boxes) {
        auto* box = get<QLineEdit>(name);
        EXPECT_FALSE(box->isReadOnly()) << name;
        EXPECT_EQ(box->echoMode(), QLineEdit::Normal) << name;
        EXPECT_EQ(box->alignment() & Qt::AlignHorizontal_Mask, alignment) << name;
        EXPECT_GT(box->maxLength(), 1 << 24) << name;
    }
    auto* source = get<QPlainTextEdit>(c::source_box);
    EXPECT_FALSE(source->isReadOnly());
    EXPECT_EQ(source->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_TRUE(source->tabChangesFocus()) << "Tab must move on, not insert a tab";

    EXPECT_EQ(get<QLabel>(c::progress_label)->alignment(), Qt::AlignCenter);
    EXPECT_TRUE(get<QLabel>(c::cover_box)->hasScaledContents());
    for (auto name : {c::homepage_button, c::download_button}) {
        EXPECT_FALSE(get<QPushButton>(name)->isDefault()) << name;
        EXPECT_FALSE(get<QPushButton>(name)->autoDefault()) << name;
    }
}

// Looks at the drawn box: a pixel just inside the border, where no text is.
QColor background_of(QWidget* box)
{
    return box->grab().toImage().pixelColor(6, box->height() / 2);
}

TEST_F(MainWindowTest, GreyAndWhiteBoxesAreDrawnSo)
{
    const QColor grey(236, 236, 236);
    const std::pair<std::string_view, QColor> boxes[] = {
        {c::title_box, grey},
        {c::page_count_box, grey},
        {c::thread_count_box, QColor(Qt::white)},
        {c::image_base_box, QColor(Qt::white)},
        {c::progress_label, QColor(Qt::white)},
    };
    for (const auto& [name, colour] : boxes) EXPECT_EQ(background_of(get(name)), colour) << name;
}

TEST_F(MainWindowTest, TabVisitsTheEditBoxesAndButtonsIncludingTheHiddenBoxes)
{
    const std::string_view cycle[] = {c::book_address_box, c::title_box,       c::thread_count_box,
                                      c::page_count_box,   c::homepage_button, c::download_button,
                                      c::source_box,       c::image_base_box};
    QWidget* widget = get(cycle[0]);
    for (std::size_t i = 1; i <= std::size(cycle); ++i) {
        widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus) widget = widget->nextInFocusChain();
        EXPECT_EQ(widget, get(cycle[i % std::size(cycle)])) << "after " << cycle[i - 1];
    }
    for (auto name : {c::label_book_page, c::cover_frame, c::cover_box, c::progress_bar, c::progress_label})
        EXPECT_EQ(get(name)->focusPolicy() & Qt::TabFocus, 0) << name;

    // And the real key does it: from the visible page count box into the hidden ones.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    get(c::download_button)->setFocus();
    QTest::keyClick(get(c::download_button), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), get(c::source_box));
    QTest::keyClick(get(c::source_box), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), get(c::image_base_box));
    EXPECT_TRUE(get<QPlainTextEdit>(c::source_box)->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, EscClosesTheWindowFromEveryControl)
{
    for (auto name : {c::book_address_box, c::title_box, c::thread_count_box, c::page_count_box,
                      c::homepage_button, c::download_button, c::source_box, c::image_base_box}) {
        SCOPED_TRACE(std::string(name));
        window = std::make_unique<MainWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QSignalSpy closed(window.get(), &MainWindow::closed);
        QWidget* focus = get(name);
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Escape);
        EXPECT_EQ(closed.count(), 1);
        EXPECT_FALSE(window->isVisible());
    }
}

TEST_F(MainWindowTest, EnterDoesNothingSpecial)
{
    QSignalSpy closed(window.get(), &MainWindow::closed);
    QSignalSpy download(window.get(), &MainWindow::downloadClicked);
    QSignalSpy homepage(window.get(), &MainWindow::homepageClicked);
    for (auto name : {c::book_address_box, c::title_box, c::page_count_box}) {
        QTest::keyClick(get(name), Qt::Key_Return);
        QTest::keyClick(get(name), Qt::Key_Enter);
    }
    EXPECT_EQ(closed.count() + download.count() + homepage.count(), 0);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, UserEventsReachTheirSignals)
{
    QSignalSpy double_clicked(window.get(), &MainWindow::bookAddressDoubleClicked);
    QSignalSpy download(window.get(), &MainWindow::downloadClicked);
    QSignalSpy homepage(window.get(), &MainWindow::homepageClicked);

    QTest::mouseDClick(get(c::book_address_box), Qt::LeftButton);
    EXPECT_EQ(double_clicked.count(), 1);
    QTest::mouseDClick(get(c::title_box), Qt::LeftButton);
    EXPECT_EQ(double_clicked.count(), 1) << "only the book address box loads a book";

    QTest::mouseClick(get(c::download_button), Qt::LeftButton);
    EXPECT_EQ(download.count(), 1);
    QTest::mouseClick(get(c::homepage_button), Qt::LeftButton);
    EXPECT_EQ(homepage.count(), 1);
    EXPECT_EQ(download.count(), 1);
}

// Records the addresses the desktop was asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

// What the window shows, control by control.
QStringList state_of(const MainWindow& window)
{
    QStringList state;
    for (auto name : c::all) {
        QWidget* widget = window.control(name);
        QString value;
        if (auto* label = qobject_cast<QLabel*>(widget)) value = label->text() + QString::number(label->pixmap().cacheKey());
        else if (auto* line = qobject_cast<QLineEdit*>(widget)) value = line->text();
        else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) value = lines->toPlainText();
        else if (auto* button = qobject_cast<QPushButton*>(widget)) value = button->text();
        else if (auto* bar = qobject_cast<QProgressBar*>(widget)) value = QString::number(bar->value());
        state << q(name) + QLatin1Char('=') + value + (widget->isVisible() ? "" : " hidden");
    }
    state << window.windowTitle() << (window.isVisible() ? "shown" : "hidden");
    return state;
}

TEST_F(MainWindowTest, HomepageOpensTheCatalogueAndChangesNothingInTheWindow)
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "open");
    QObject::connect(window.get(), &MainWindow::homepageClicked, [] { on_homepage_clicked(); });
    const QStringList before = state_of(*window);

    QTest::mouseClick(get(c::homepage_button), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened.front().toString(),
              QStringLiteral("http://") + QStringLiteral(PAGORA_SITE_HOST) + QStringLiteral("/explore/"));
    EXPECT_EQ(state_of(*window), before);
}

} // namespace

#include "main_window_test.moc"
