#include "app/edit_boxes.h"

#include "web/codepage.h"
#include "web/gbk_text.h"

#include <QTextDocument>

#include <limits>

namespace pagora {
namespace {

QString to_qstring(const GbkText& text)
{
    return QString::fromStdString(gbk_to_utf8(text));
}

GbkText from_qstring(const QString& text)
{
    return utf8_to_gbk(text.toStdString());
}

} // namespace

GbkLineEdit::GbkLineEdit(QWidget* parent) : QLineEdit(parent)
{
    // The default cuts text at 32767 characters.
    setMaxLength(std::numeric_limits<int>::max());
}

void GbkLineEdit::write_gbk(const GbkText& text)
{
    setText(to_qstring(text));
    setCursorPosition(0); // show the beginning of a long text
    written_ = text.bytes();
    written_as_shown_ = QLineEdit::text();
}

GbkText GbkLineEdit::read_gbk() const
{
    const QString shown = text();
    if (shown == written_as_shown_) return GbkText(written_);
    return from_qstring(shown);
}

void GbkLineEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

GbkPlainTextEdit::GbkPlainTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!writing_ && (removed != 0 || added != 0)) edited_since_write_ = true;
    });
}

void GbkPlainTextEdit::write_gbk(const GbkText& text)
{
    writing_ = true;
    setPlainText(to_qstring(text));
    writing_ = false;
    written_ = text.bytes();
    edited_since_write_ = false;
}

GbkText GbkPlainTextEdit::read_gbk() const
{
    if (!edited_since_write_) return GbkText(written_);
    return from_qstring(toPlainText());
}

} // namespace pagora
