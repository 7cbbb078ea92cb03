// CR40DressedStatusBasic: the status panel docked under the main window. It
// shows the selected R40 or R40V receiver's channel, SNR, default gateway,
// IGMP state and the PIDs it passes, and rewrites a field only when its
// value changed, so nothing flickers at a status every 600 ms.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "devicelib/devicelib.h"
#include "platform/window/dialog.h"
#include "platform/window/image.h"
#include "skin/dialog_layout_scaler.h"

namespace platform::window {
class ListBoxControl;
class PictureControl;
}  // namespace platform::window
namespace skin {
class CTransparentStatic;
}

namespace console {

class CR40DressedStatusBasic : public platform::window::Dialog {
  public:
    CR40DressedStatusBasic();
    ~CR40DressedStatusBasic() override;

    // Shows a record; false, changing nothing, for a null record.
    bool UpdateFromStatus(const R40StatusRecord* record);

    // How often the PID list was rebuilt (it is only when the list changed).
    int PidListRebuilds() const { return m_pidListRebuilds; }

    // Called when the operator clicks the SNR value or its label (the main
    // window opens or closes the signal history there).
    void SetSnrClickHandler(std::function<void()> handler) { m_onSnrClick = std::move(handler); }

  protected:
    void DoDataExchange(platform::window::DataExchange& dx) override;
    bool OnInitDialog() override;
    // Escape does not close the panel; only the main window does.
    void OnCancel() override {}
    void OnDestroy() override;
    bool OnDrawItem(platform::window::DrawItem& item) override;
    bool PreTranslateMessage(const platform::window::InputMessage& message) override;

  private:
    void ShowPidList(const PidListRecord& pids);

    skin::CTransparentStatic* m_channel = nullptr;
    skin::CTransparentStatic* m_snr = nullptr;
    skin::CTransparentStatic* m_gateway = nullptr;
    skin::CTransparentStatic* m_dvbMac = nullptr;
    skin::CTransparentStatic* m_pidTitle = nullptr;
    skin::CTransparentStatic* m_channelLabel = nullptr;
    skin::CTransparentStatic* m_snrLabel = nullptr;
    skin::CTransparentStatic* m_gatewayLabel = nullptr;
    skin::CTransparentStatic* m_igmpLabel = nullptr;
    skin::CTransparentStatic* m_dvbMacLabel = nullptr;
    platform::window::ListBoxControl* m_pidList = nullptr;
    platform::window::PictureControl* m_igmpImage = nullptr;
    platform::window::Image m_igmpOn;
    platform::window::Image m_igmpOff;
    skin::CDialogLayoutScaler m_scaler;

    // The values last shown.
    std::int32_t m_lastChannel = 0;
    float m_lastSnr = 0.0f;
    std::array<std::uint8_t, 4> m_lastGateway{};
    std::array<std::uint8_t, 6> m_lastDvbMac{};
    std::int32_t m_lastPidCount = 0;
    std::array<std::uint16_t, MAX_PIDS> m_lastPids{};
    int m_pidListRebuilds = 0;
    std::function<void()> m_onSnrClick;
};

}  // namespace console
