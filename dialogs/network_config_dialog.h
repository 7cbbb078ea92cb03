// CNetCfgDlgSkined: the modal dialog in which the operator enters a
// receiver's network settings (address, subnet mask, default gateway, the
// unicast status address and IGMP). It talks to nobody; OK refuses, with a
// message box, a value no receiver can use (the device library's
// CheckNetworkSettings), so that it can be corrected. What the operator
// confirmed comes back from GetResult unchanged, the two ports left for the
// caller to fill.
//
//   CNetCfgDlgSkined dialog;
//   dialog.SetAnchorRect(menu.GetWindowRect());
//   dialog.SetStartValues(address, gateway, mask, statusAddress, igmp);
//   dialog.DoModal();
//   NetworkSettings settings;
//   if (dialog.GetResult(settings)) ... settings.statusPort = ...;
#pragma once

#include "devicelib/devicelib.h"
#include "dialogs/ipv4_address.h"
#include "platform/window/balloon_tooltip.h"
#include "platform/window/dialog.h"
#include "platform/window/geometry.h"

namespace platform::window {
class IpAddressControl;
}
namespace skin {
class CRedCheckBox;
class CTransparentStatic;
}  // namespace skin

namespace dialogs {

class CNetCfgDlgSkined : public platform::window::Dialog {
  public:
    CNetCfgDlgSkined();
    ~CNetCfgDlgSkined() override;

    // The configuration menu's window rectangle on the screen; the dialog
    // stands to its right, top edges level. A top of 0 leaves the dialog
    // where it was first placed.
    void SetAnchorRect(const platform::window::Rect& anchor) { m_anchorRect = anchor; }

    // Only when all five values are known; otherwise the dialog starts with
    // 0.0.0.0 everywhere and IGMP on.
    void SetStartValues(const Ipv4Address& receiverAddress, const Ipv4Address& gateway,
                        const Ipv4Address& subnetMask, const Ipv4Address& statusAddress, bool igmp);

    // Copies the settings entered into `settings` whatever the outcome;
    // true when the operator confirmed them.
    bool GetResult(NetworkSettings& settings) const;

    platform::window::BalloonToolTip& ToolTip() { return m_toolTip; }

  protected:
    void DoDataExchange(platform::window::DataExchange& dx) override;
    bool OnInitDialog() override;
    // Confirms, unless a value is one no receiver can use: then a message
    // box names it and the dialog stays open.
    void OnOK() override;
    void OnCancel() override;
    void OnShowWindow(bool show) override;
    bool PreTranslateMessage(const platform::window::InputMessage& message) override;
    void OnCtlColor(platform::window::Window* control,
                    platform::window::ControlColors& colors) override;

  private:
    void RefuseEntry(std::int32_t refused, const NetworkSettings& entered);

    platform::window::Rect m_anchorRect;
    bool m_hasStartValues = false;
    Ipv4Address m_startReceiverAddress{};
    Ipv4Address m_startGateway{};
    Ipv4Address m_startSubnetMask{};
    Ipv4Address m_startStatusAddress{};
    bool m_startIgmp = false;
    NetworkSettings m_result{};
    bool m_confirmed = false;
    platform::window::BalloonToolTip m_toolTip;

    skin::CTransparentStatic* m_receiverLabel = nullptr;
    skin::CTransparentStatic* m_subnetLabel = nullptr;
    skin::CTransparentStatic* m_gatewayLabel = nullptr;
    skin::CTransparentStatic* m_statusLabel = nullptr;
    skin::CTransparentStatic* m_igmpLabel = nullptr;
    platform::window::IpAddressControl* m_receiverAddress = nullptr;
    platform::window::IpAddressControl* m_subnetMask = nullptr;
    platform::window::IpAddressControl* m_gateway = nullptr;
    platform::window::IpAddressControl* m_statusAddress = nullptr;
    skin::CRedCheckBox* m_igmp = nullptr;
};

}  // namespace dialogs
