#pragma once

#include <QWidget>

#include <string_view>

namespace pagora {

class GbkLineEdit;

// The program's only window: fixed at 641 x 213 outside (frame and title bar
// included), centred on the screen when first shown, with the eighteen controls
// of controls.h as children whose object names are the control names. Esc
// closes it from any control.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int outer_width = 641;
    static constexpr int outer_height = 213;

    explicit MainWindow(QWidget* parent = nullptr);

    // The control of that name, or null.
    QWidget* control(std::string_view name) const;

signals:
    void bookAddressDoubleClicked();
    void downloadClicked();
    void homepageClicked();
    // The window was closed (close button, Alt+F4, Esc).
    void closed();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build_controls();
    void centre_on_screen();
    void fit_outer_size();

    bool placed_ = false;
};

} // namespace pagora
