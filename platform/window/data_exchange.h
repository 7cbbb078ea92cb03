// Dialog data exchange: binding control objects to template ids and moving
// values between members and controls, refusing bad input with the
// framework's own messages ("Enter an integer.").
//
//   void DoDataExchange(DataExchange& dx) override {
//       DDX_Control(dx, IDC_LOGO, m_logo);          // CAniLogo* m_logo
//       DDX_Text(dx, IDC_CHANNEL, m_channel);       // int m_channel
//       DDV_MinMaxInt(dx, m_channel, 2, 69);
//   }
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/window/dialog.h"

namespace platform::window {

class DataExchange {
  public:
    DataExchange(Dialog& dialog, bool saveAndValidate)
        : m_dialog(dialog), m_saveAndValidate(saveAndValidate) {}

    Dialog& GetDialog() const { return m_dialog; }
    // True: controls into members (and validate); false: members into controls.
    bool Saving() const { return m_saveAndValidate; }

    // The edit control that gets the focus when a later check fails.
    void PrepareEditControl(int id) { m_lastEditId = id; }
    // Refuses the exchange: focuses the last prepared edit control with its
    // whole text selected and stops DoDataExchange (UpdateData returns false).
    [[noreturn]] void Fail();

  private:
    Dialog& m_dialog;
    bool m_saveAndValidate;
    std::optional<int> m_lastEditId;
};

// Thrown by Fail, caught by UpdateData; never leaves the dialog.
struct DataExchangeFailure {};

// Binds `control` to the dialog's control `id`, replacing the control by a T
// in place when it is of another class (the skinned controls). The pointer
// is set to null when the window is destroyed. A missing control leaves it
// null.
template <class T>
void DDX_Control(DataExchange& dx, int id, T*& control) {
    Dialog& dialog = dx.GetDialog();
    T* bound = dialog.template SubclassDlgItem<T>(id);
    if (bound == control) return;
    control = bound;
    if (bound != nullptr) dialog.AddBinding([&control] { control = nullptr; });
}

// An integer written with "%d"; read as the leading decimal number of the
// text (blanks and a sign before it allowed, what follows ignored, too large
// a number held at the int range). Text that does not start with a number
// is refused with "Enter an integer.".
void DDX_Text(DataExchange& dx, int id, int& value);
void DDX_Text(DataExchange& dx, int id, std::string& value);  // UTF-8, as it stands
// A number with `decimals` digits after the point ('.', whatever the
// desktop's locale); read as one decimal number filling the whole text
// (blanks around it allowed, no exponent). Anything else is refused with
// "Enter a number.".
void DDX_Text(DataExchange& dx, int id, double& value, int decimals);

// When saving, refuses a value outside [minimum, maximum] with
// "Enter an integer between %1 and %2.".
void DDV_MinMaxInt(DataExchange& dx, int value, int minimum, int maximum);

// When saving, refuses a value outside [minimum, maximum] with
// "Enter a number between %1 and %2.".
void DDV_MinMaxDouble(DataExchange& dx, double value, double minimum, double maximum);

// The reading rule of DDX_Text for int, for direct use: nullopt when the
// text does not start with a number.
std::optional<int> ParseLeadingInteger(std::string_view text);

// The reading rule of DDX_Text for double: nullopt unless the whole text is
// one decimal number.
std::optional<double> ParseDecimalNumber(std::string_view text);

}  // namespace platform::window
