// CRedCheckBox: a check box drawn as a small etched frame when unchecked and
// as a thick check mark in the skin colour when checked, on a tile of the
// dialogs' background picture. It keeps its own state and flips it once at
// the start of each press.
#pragma once

#include <QAbstractButton>

#include "platform/window/device_context.h"
#include "platform/window/image.h"
#include "resources/ids.h"

namespace skin {

class CRedCheckBox : public QAbstractButton {
    Q_OBJECT

  public:
    // The background tile is the dialogs' background picture.
    static constexpr int BACKGROUND_BITMAP_ID = res::IDB_DIALOG_BACKGROUND;

    explicit CRedCheckBox(QWidget* parent = nullptr);

    bool IsChecked() const { return m_checked; }

    // Returns the previous state and repaints.
    bool SetChecked(bool checked);

    // Replaces the background tile (the null image leaves the window beneath
    // visible).
    void SetBackgroundTile(const platform::window::Image& tile);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void OnPaint(platform::window::DeviceContext& dc);
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // A press that the button accepts flips the state exactly once, however
    // often the pressed box is painted or the pointer leaves and re-enters.
    void ToggleIfPressStarted(bool wasDown);

    bool m_checked = false;
    platform::window::Image m_backgroundTile;
};

}  // namespace skin
