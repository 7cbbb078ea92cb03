// A list box with Win32's interface: strings with data, insertion in sorted
// order (LBS_SORT, compared without regard to case), the current selection,
// no selection at all (LBS_NOSEL), and owner-drawn fixed-height items
// (LBS_OWNERDRAWFIXED) drawn by the dialog's OnDrawItem. With LBS_NOTIFY the
// dialog gets LBN_SELCHANGE when the operator changes the selection and
// LBN_DBLCLK on a double click; changes made by code notify nothing.
#pragma once

#include <QListWidget>
#include <QString>

#include <cstdint>

namespace platform::window {

inline constexpr int LB_ERR = -1;

class ListBoxControl : public QListWidget {
    Q_OBJECT

  public:
    explicit ListBoxControl(QWidget* parent = nullptr);

    void SetStyle(std::uint32_t style, std::uint32_t exStyle = 0);
    std::uint32_t Style() const { return m_style; }

    int AddString(const QString& text);  // the new item's index
    int InsertString(int index, const QString& text);
    int DeleteString(int index);  // items left, or LB_ERR
    void ResetContent();
    int GetCount() const { return count(); }
    QString GetText(int index) const;

    int SetItemData(int index, std::intptr_t data);
    std::intptr_t GetItemData(int index) const;

    int GetCurSel() const;     // LB_ERR when nothing is selected
    int SetCurSel(int index);  // -1 clears; LB_ERR for a bad index

    // The rectangle of item `index` in the list's viewport.
    QRect GetItemRect(int index) const;

  private:
    std::uint32_t m_style = 0;
    bool m_byCode = false;
};

}  // namespace platform::window
