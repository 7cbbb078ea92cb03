// CSignalHistoryPanel: the third satellite, docked under the status panel
// (beside it when the screen has no room below). It draws the selected
// receiver's signal history (CSignalHistoryChart) and saves it as CSV with
// "Save history…": the file is chosen in the platform's file dialog and
// written by a worker from a copy of the ring, so the window's thread never
// waits on the disk.
#pragma once

#include <cstdint>

#include "console/signal_history.h"
#include "platform/window/dialog.h"

namespace platform::window {
class ButtonControl;
}
namespace skin {
class CTransparentStatic;
}

namespace console {

class CSignalHistoryChart;

class CSignalHistoryPanel : public platform::window::Dialog {
  public:
    CSignalHistoryPanel();
    ~CSignalHistoryPanel() override;

    // The history drawn and saved; it must outlive the panel's window.
    void SetHistory(const SignalHistory* history);
    // Repaints the chart (a sample was added or the ring cleared).
    void Refresh();
    CSignalHistoryChart* Chart() const { return m_chart; }

    // The outcome of the last save, for the operator and tests.
    bool SaveRunning() const { return m_saveRunning; }
    const std::string& LastSaveText() const { return m_lastSaveText; }

  protected:
    void DoDataExchange(platform::window::DataExchange& dx) override;
    bool OnInitDialog() override;
    // Escape and Enter do not close the panel; only the main window does.
    void OnCancel() override {}
    void OnOK() override {}
    bool OnDrawItem(platform::window::DrawItem& item) override;
    void OnTimer(int id) override;

  private:
    void OnSave();
    std::intptr_t OnSaveDone(platform::window::Message& message);

    const SignalHistory* m_history = nullptr;
    bool m_saveRunning = false;
    std::string m_lastSaveText;

    CSignalHistoryChart* m_chart = nullptr;
    platform::window::ButtonControl* m_saveButton = nullptr;
    skin::CTransparentStatic* m_title = nullptr;
};

}  // namespace console
