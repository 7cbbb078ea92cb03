#include "platform/window/data_exchange.h"

#include <QLineEdit>
#include <QLocale>

#include <algorithm>
#include <limits>

#include "platform/window/message_box.h"
#include "platform/window/qt/conversions.h"

namespace platform::window {

void DataExchange::Fail() {
    if (m_lastEditId) {
        if (auto* edit = qobject_cast<QLineEdit*>(m_dialog.GetDlgItem(*m_lastEditId))) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        } else if (QWidget* control = m_dialog.GetDlgItem(*m_lastEditId)) {
            control->setFocus(Qt::OtherFocusReason);
        }
    }
    throw DataExchangeFailure{};
}

std::optional<int> ParseLeadingInteger(const QString& text) {
    const auto isDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= text.size() || !isDigit(text[i])) return std::nullopt;
    // Too many digits are held just past the int range, then clamped.
    const long long cap = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long magnitude = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        magnitude = std::min(cap, magnitude * 10 + (text[i].unicode() - u'0'));
    const long long value = negative ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

void DDX_Text(DataExchange& dx, int id, int& value) {
    QWidget* control = dx.GetDialog().GetDlgItem(id);
    dx.PrepareEditControl(id);
    if (!dx.Saving()) {
        SetControlText(control, QString::number(value));
        return;
    }
    const std::optional<int> parsed = ParseLeadingInteger(GetControlText(control));
    if (!parsed) {
        AfxMessageBox("Enter an integer.", MB_ICONEXCLAMATION);
        dx.Fail();
    }
    value = *parsed;
}

std::optional<double> ParseDecimalNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    qsizetype i = 0;
    if (i < trimmed.size() && (trimmed[i] == QLatin1Char('-') || trimmed[i] == QLatin1Char('+')))
        ++i;
    qsizetype digits = 0;
    bool point = false;
    for (; i < trimmed.size(); ++i) {
        if (trimmed[i] >= QLatin1Char('0') && trimmed[i] <= QLatin1Char('9'))
            ++digits;
        else if (trimmed[i] == QLatin1Char('.') && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    // The C locale's reading: the point is '.', never the desktop's comma.
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok) return std::nullopt;
    return value;
}

void DDX_Text(DataExchange& dx, int id, double& value, int decimals) {
    QWidget* control = dx.GetDialog().GetDlgItem(id);
    dx.PrepareEditControl(id);
    if (!dx.Saving()) {
        SetControlText(control, QLocale::c().toString(value, 'f', decimals));
        return;
    }
    const std::optional<double> parsed = ParseDecimalNumber(GetControlText(control));
    if (!parsed) {
        AfxMessageBox("Enter a number.", MB_ICONEXCLAMATION);
        dx.Fail();
    }
    value = *parsed;
}

void DDV_MinMaxDouble(DataExchange& dx, double value, double minimum, double maximum) {
    if (!dx.Saving() || (value >= minimum && value <= maximum)) return;
    AfxMessageBox(ToUtf8(QStringLiteral("Enter a number between %1 and %2.")
                             .arg(QLocale::c().toString(minimum, 'g', 10))
                             .arg(QLocale::c().toString(maximum, 'g', 10))),
                  MB_ICONEXCLAMATION);
    dx.Fail();
}

void DDX_Text(DataExchange& dx, int id, QString& value) {
    QWidget* control = dx.GetDialog().GetDlgItem(id);
    dx.PrepareEditControl(id);
    if (dx.Saving())
        value = GetControlText(control);
    else
        SetControlText(control, value);
}

void DDV_MinMaxInt(DataExchange& dx, int value, int minimum, int maximum) {
    if (!dx.Saving() || (value >= minimum && value <= maximum)) return;
    AfxMessageBox("Enter an integer between " + std::to_string(minimum) + " and " +
                      std::to_string(maximum) + ".",
                  MB_ICONEXCLAMATION);
    dx.Fail();
}

}  // namespace platform::window
