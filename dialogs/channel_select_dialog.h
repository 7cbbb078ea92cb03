// CChannelSelectDlg: the modal dialog in which the operator enters the RF
// channel to tune, 2 to 69. Anything else is refused with a message box and
// can be corrected; only a valid entry confirms the dialog.
//
//   CChannelSelectDlg dialog;
//   dialog.SetOwnerReference(menu.Handle());
//   if (fileChannel) dialog.SetStartChannel(*fileChannel);
//   dialog.DoModal();
//   std::int32_t channel = 0;
//   if (dialog.GetResult(channel)) ...
#pragma once

#include <cstdint>

#include "platform/window/dialog.h"

namespace platform::window {
class EditControl;
}
namespace skin {
class CTransparentStatic;
}

namespace dialogs {

class CChannelSelectDlg : public platform::window::Dialog {
  public:
    static constexpr int MIN_CHANNEL = 2;
    static constexpr int MAX_CHANNEL = 69;
    // Shown when no valid start channel was given.
    static constexpr int DEFAULT_CHANNEL = 4;

    CChannelSelectDlg();
    ~CChannelSelectDlg() override;

    void SetStartChannel(std::int32_t channel) { m_startChannel = channel; }

    // The channel entered; true when the operator confirmed a valid one.
    bool GetResult(std::int32_t& channel) const;

  protected:
    void DoDataExchange(platform::window::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnShowWindow(bool show) override;
    void OnCtlColor(platform::window::Window* control,
                    platform::window::ControlColors& colors) override;

  private:
    std::int32_t m_startChannel = 0;  // 0: none given
    std::int32_t m_channel = 0;       // exchanged with the edit box
    std::int32_t m_resultChannel = 0;
    bool m_confirmed = false;

    skin::CTransparentStatic* m_label = nullptr;
    platform::window::EditControl* m_edit = nullptr;
};

}  // namespace dialogs
