#include "platform/window/data_exchange.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "platform/window/edit_control.h"
#include "platform/window/message_box.h"

namespace platform::window {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsSpace(char c) {
    return IsBlank(c) || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The control's text, UTF-8; empty when the dialog has no such control.
std::string TextOf(DataExchange& dx, int id) {
    const Window* control = dx.GetDialog().GetDlgItem(id);
    return control != nullptr ? control->GetWindowText() : std::string();
}

void SetTextOf(DataExchange& dx, int id, std::string_view text) {
    if (Window* control = dx.GetDialog().GetDlgItem(id)) control->SetWindowText(text);
}

// The number as "%g" with up to ten significant digits would write it, in
// the C locale whatever the desktop's.
std::string Shortest(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 10);
    return std::string(buffer, result.ptr);
}

}  // namespace

void DataExchange::Fail() {
    if (m_lastEditId) {
        if (auto* edit = m_dialog.GetDlgItemAs<EditControl>(*m_lastEditId)) {
            edit->SetFocus();
            edit->SetSel(0, -1);
        } else if (Window* control = m_dialog.GetDlgItem(*m_lastEditId)) {
            control->SetFocus();
        }
    }
    throw DataExchangeFailure{};
}

std::optional<int> ParseLeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || !IsDigit(text[i])) return std::nullopt;
    // Too many digits are held just past the int range, then clamped.
    const long long cap = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        magnitude = std::min(cap, magnitude * 10 + (text[i] - '0'));
    const long long value = negative ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

void DDX_Text(DataExchange& dx, int id, int& value) {
    dx.PrepareEditControl(id);
    if (!dx.Saving()) {
        SetTextOf(dx, id, std::to_string(value));
        return;
    }
    const std::optional<int> parsed = ParseLeadingInteger(TextOf(dx, id));
    if (!parsed) {
        AfxMessageBox("Enter an integer.", MB_ICONEXCLAMATION);
        dx.Fail();
    }
    value = *parsed;
}

std::optional<double> ParseDecimalNumber(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    std::size_t i = 0;
    const bool plus = !text.empty() && text[0] == '+';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++i;
    std::size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i]))
            ++digits;
        else if (text[i] == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    // The C locale's reading: the point is '.', never the desktop's comma.
    if (plus) text.remove_prefix(1);  // from_chars takes no '+'
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

void DDX_Text(DataExchange& dx, int id, double& value, int decimals) {
    dx.PrepareEditControl(id);
    if (!dx.Saving()) {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                          std::chars_format::fixed, std::max(0, decimals));
        SetTextOf(dx, id, std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
        return;
    }
    const std::optional<double> parsed = ParseDecimalNumber(TextOf(dx, id));
    if (!parsed) {
        AfxMessageBox("Enter a number.", MB_ICONEXCLAMATION);
        dx.Fail();
    }
    value = *parsed;
}

void DDV_MinMaxDouble(DataExchange& dx, double value, double minimum, double maximum) {
    if (!dx.Saving() || (value >= minimum && value <= maximum)) return;
    AfxMessageBox("Enter a number between " + Shortest(minimum) + " and " + Shortest(maximum) + ".",
                  MB_ICONEXCLAMATION);
    dx.Fail();
}

void DDX_Text(DataExchange& dx, int id, std::string& value) {
    dx.PrepareEditControl(id);
    if (dx.Saving())
        value = TextOf(dx, id);
    else
        SetTextOf(dx, id, value);
}

void DDV_MinMaxInt(DataExchange& dx, int value, int minimum, int maximum) {
    if (!dx.Saving() || (value >= minimum && value <= maximum)) return;
    AfxMessageBox("Enter an integer between " + std::to_string(minimum) + " and " +
                      std::to_string(maximum) + ".",
                  MB_ICONEXCLAMATION);
    dx.Fail();
}

}  // namespace platform::window
