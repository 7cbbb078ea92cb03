// CConfVideoPIDDlg: the small modal dialog in which the operator enters
// where an R40V forwards the packets of one video PID: a destination IPv4
// address and UDP port. The port must be a number from 0 to 65535; the
// address is taken as entered.
//
//   CConfVideoPIDDlg dialog;
//   dialog.SetOwnerReference(contentDialog.Handle());
//   dialog.SetTarget(pid, address, port);
//   dialog.DoModal();
//   if (dialog.IsConfirmed()) dialog.GetDestination(address, port);
#pragma once

#include <cstdint>
#include <string>

#include "dialogs/ipv4_address.h"
#include "platform/window/balloon_tooltip.h"
#include "platform/window/dialog.h"

namespace platform::window {
class EditControl;
class IpAddressControl;
}  // namespace platform::window

namespace dialogs {

class CConfVideoPIDDlg : public platform::window::Dialog {
  public:
    static constexpr int MAX_PORT = 65535;

    CConfVideoPIDDlg();
    ~CConfVideoPIDDlg() override;

    void SetTarget(std::uint16_t pid, const Ipv4Address& address, std::uint16_t port);
    bool IsConfirmed() const { return m_confirmed; }
    // The destination entered when confirmed; the one given otherwise.
    void GetDestination(Ipv4Address& address, std::uint16_t& port) const;

    platform::window::BalloonToolTip& ToolTip() { return m_toolTip; }

  protected:
    void DoDataExchange(platform::window::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnShowWindow(bool show) override;
    bool PreTranslateMessage(const platform::window::InputMessage& message) override;
    void OnCtlColor(platform::window::Window* control,
                    platform::window::ControlColors& colors) override;

  private:
    std::uint16_t m_pid = 0;
    Ipv4Address m_destAddress{};
    std::uint16_t m_destPort = 0;
    int m_portValue = 0;    // exchanged with the port edit box
    std::string m_pidText;  // exchanged with the PID label
    bool m_confirmed = false;
    platform::window::BalloonToolTip m_toolTip;

    platform::window::IpAddressControl* m_address = nullptr;
    platform::window::EditControl* m_port = nullptr;
};

}  // namespace dialogs
