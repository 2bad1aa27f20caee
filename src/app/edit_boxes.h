#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

#include <string>

namespace pagora {

// Kept out of this header: moc cannot parse the C++20 library headers it uses.
class GbkText;

// Edit boxes that give back exactly the bytes last written into them. The
// round trip through the widget's string is not byte-exact (a multi-line box
// turns CR LF into LF, bytes that are no valid GBK come back as "?"), so each box
// keeps the written bytes and returns them until the user edits the text; then
// it returns what the widget shows.

class GbkLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit GbkLineEdit(QWidget* parent = nullptr);

    void write_gbk(const GbkText& text);
    GbkText read_gbk() const;

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::string written_; // GBK bytes
    QString written_as_shown_;
};

class GbkPlainTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit GbkPlainTextEdit(QWidget* parent = nullptr);

    void write_gbk(const GbkText& text);
    GbkText read_gbk() const;

private:
    std::string written_; // GBK bytes
    bool edited_since_write_ = true; // nothing written yet: the widget's text counts
    bool writing_ = false;
};

} // namespace pagora
