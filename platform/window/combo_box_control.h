// A drop-down list combo box with Win32's interface: items with data, the
// current selection, the drop-down list's width, the extended user
// interface (the down arrow drops the list) and showing the list from code.
// Notifications to the dialog: CBN_DROPDOWN before the list appears,
// CBN_CLOSEUP after it has gone, and, when the operator picks an item,
// CBN_SELCHANGE and CBN_SELENDOK. Changes made by code notify nothing.
#pragma once

#include <QComboBox>
#include <QString>

#include <cstdint>

#include "platform/window/font.h"

namespace platform::window {

inline constexpr int CB_ERR = -1;

class ComboBoxControl : public QComboBox {
    Q_OBJECT

  public:
    explicit ComboBoxControl(QWidget* parent = nullptr);

    void SetStyle(std::uint32_t style);

    // Returns the new item's index (sorted position with CBS_SORT).
    int AddString(const QString& text);
    int InsertString(int index, const QString& text);
    // Returns the number of items left, or CB_ERR.
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const { return count(); }
    QString GetLBText(int index) const;

    int SetItemData(int index, std::intptr_t data);  // CB_ERR for a bad index
    std::intptr_t GetItemData(int index) const;      // CB_ERR for a bad index

    int GetCurSel() const;     // CB_ERR when nothing is selected
    int SetCurSel(int index);  // -1 clears; CB_ERR for a bad index

    void ShowDropDown(bool show = true);
    bool GetDroppedState() const { return m_dropped; }
    // The drop-down list is at least this wide (never narrower than the box).
    int SetDroppedWidth(int width);
    // The font the control draws its text in (WM_GETFONT).
    Font GetFont() const;
    int GetDroppedWidth() const;

    void SetExtendedUI(bool extended = true) { m_extendedUI = extended; }
    bool GetExtendedUI() const { return m_extendedUI; }

    void showPopup() override;
    void hidePopup() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void InsertKeepingSelection(int index, const QString& text);

    std::uint32_t m_style = 0;
    bool m_dropped = false;
    bool m_extendedUI = false;
    bool m_byCode = false;  // a change made through this interface
    int m_droppedWidth = 0;
};

}  // namespace platform::window
