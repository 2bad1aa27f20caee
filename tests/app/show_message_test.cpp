#include "app/main_window.h"
#include "app/qt_window.h"
#include "qt_test_support.h"
#include "shown_window.h"
#include "ui/controls.h"
#include "web/codepage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace pagora;
using namespace pagora::testing;
using namespace std::chrono_literals;
namespace c = pagora::control;

namespace {

class ShowMessageTest : public ShownWindowTest {
protected:
    void SetUp() override { show_window(QString()); }
};

TEST_F(ShowMessageTest, WorkerWaitsUntilTheBoxIsClosedWhileTheWindowStaysUsable)
{
    Worker<bool> worker([&] {
        window->show_message(utf8_to_gbk("下载完成！"), utf8_to_gbk("信息："));
        return true;
    });
    QMessageBox* box = nullptr;
    ASSERT_TRUE(process_events_until([&] { return (box = open_message_box()) != nullptr; }));
    EXPECT_EQ(box->text(), QStringLiteral("下载完成！"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("信息："));
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->standardButton(box->buttons().front()), QMessageBox::Ok);

    // Modeless: no modal widget, and the main window still takes input.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(box->isModal());
    QTest::qWait(100);
    EXPECT_FALSE(worker.finished()) << "the worker must wait for the user";
    auto* title = qobject_cast<QLineEdit*>(main_window->control(c::title_box));
    QTest::keyClicks(title, QStringLiteral("abc"));
    EXPECT_EQ(title->text(), QStringLiteral("abc"));
    EXPECT_EQ(window->read_text(c::title_box), "abc"_gbk);
    EXPECT_FALSE(worker.finished());

    QTest::mouseClick(box->buttons().front(), Qt::LeftButton);
    ASSERT_TRUE(worker.wait_processing_events());
    EXPECT_TRUE(process_events_until([] { return open_message_box() == nullptr; }));
}

TEST_F(ShowMessageTest, SeveralWorkersEachWaitForTheirOwnBox)
{
    Worker<bool> first([&] { window->show_message("one"_gbk, "x"_gbk); return true; });
    ASSERT_TRUE(process_events_until([] { return open_message_box() != nullptr; }));
    Worker<bool> second([&] { window->show_message("two"_gbk, "x"_gbk); return true; });
    int open = 0;
    ASSERT_TRUE(process_events_until([&] {
        open = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox*>(widget) && widget->isVisible()) ++open;
        return open == 2;
    }));
    QMessageBox* one = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->text() == QStringLiteral("one")) one = box;
    ASSERT_NE(one, nullptr);
    QTest::mouseClick(one->buttons().front(), Qt::LeftButton);
    ASSERT_TRUE(first.wait_processing_events());
    QTest::qWait(100);
    EXPECT_FALSE(second.finished());
    open_message_box()->close();
    ASSERT_TRUE(second.wait_processing_events());
}

TEST_F(ShowMessageTest, ClosingTheMainWindowReleasesAWorkerWhoseBoxIsOpen)
{
    Worker<bool> worker([&] { window->show_message("done"_gbk, "x"_gbk); return true; });
    ASSERT_TRUE(process_events_until([] { return open_message_box() != nullptr; }));
    main_window->close();
    ASSERT_TRUE(worker.wait_blocking(2s)) << "a waiting worker must not hold up the end";
}

} // namespace
