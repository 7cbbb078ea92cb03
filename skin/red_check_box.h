// CRedCheckBox: a check box drawn as a small etched frame when unchecked and
// as a thick check mark in the skin colour when checked, on a tile of the
// dialogs' background picture. It keeps its own state and flips it once at
// the start of each press.
#pragma once

#include "platform/window/button_control.h"
#include "platform/window/device_context.h"
#include "platform/window/image.h"
#include "resources/ids.h"

namespace skin {

class CRedCheckBox : public platform::window::ButtonControl {
  public:
    // The background tile is the dialogs' background picture.
    static constexpr int BACKGROUND_BITMAP_ID = res::IDB_DIALOG_BACKGROUND;

    CRedCheckBox();

    bool IsChecked() const { return m_checked; }

    // Returns the previous state and repaints.
    bool SetChecked(bool checked);

    // Replaces the background tile (the null image leaves the window beneath
    // visible).
    void SetBackgroundTile(const platform::window::Image& tile);

  protected:
    void OnPaint(platform::window::DeviceContext& dc) override;
    // A push flips the state exactly once, however often the pressed box is
    // painted or the pointer leaves and re-enters.
    void OnPushStarted() override;

  private:
    bool m_checked = false;
    platform::window::Image m_backgroundTile;
};

}  // namespace skin
