// CSatelliteTuningDlg: the modal dialog in which the operator tunes a
// satellite receiver (the T22 family and the Trevan), which takes a
// frequency, a symbol rate and tuning option bits where an R40 takes an RF
// channel. It stands where the channel dialog stands and refuses what the
// tuning command cannot carry with a message box, as that dialog does.
//
//   CSatelliteTuningDlg dialog(deviceType);
//   dialog.SetOwnerReference(menu.Handle());
//   dialog.SetStartTuning(tuningFromTheReceiversStatus);
//   dialog.DoModal();
//   SatelliteTuning tuning;
//   if (dialog.GetResult(tuning)) ... SetChannel(device, &tuning);
#pragma once

#include <array>
#include <cstdint>

#include "devicelib/devicelib.h"
#include "platform/window/dialog.h"

namespace platform::window {
class EditControl;
}
namespace skin {
class CRedCheckBox;
class CTransparentStatic;
}  // namespace skin

namespace dialogs {

class CSatelliteTuningDlg : public platform::window::Dialog {
  public:
    // The option bits offered are those the device type sends (bits 0 to 2
    // on the T22 (2.x), 0 to 4 on the others).
    explicit CSatelliteTuningDlg(std::uint16_t deviceType);
    ~CSatelliteTuningDlg() override;

    // The receiver's current tuning. Without one the boxes start empty.
    void SetStartTuning(const SatelliteTuning& tuning);

    // The tuning entered, frequency in tenths and symbol rate in
    // thousandths as they are sent; true when the operator confirmed it.
    bool GetResult(SatelliteTuning& tuning) const;

  protected:
    void DoDataExchange(platform::window::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnShowWindow(bool show) override;
    void OnCtlColor(platform::window::Window* control,
                    platform::window::ControlColors& colors) override;

  private:
    unsigned OfferedBits() const;

    std::uint16_t m_deviceType;
    bool m_hasStart = false;
    SatelliteTuning m_start{};
    double m_frequency = 0.0;   // MHz, exchanged with its box
    double m_symbolRate = 0.0;  // Msym/s
    SatelliteTuning m_result{};
    bool m_confirmed = false;

    platform::window::EditControl* m_frequencyEdit = nullptr;
    platform::window::EditControl* m_symbolRateEdit = nullptr;
    std::array<skin::CRedCheckBox*, 5> m_optionBoxes{};
};

}  // namespace dialogs
