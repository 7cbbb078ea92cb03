// A static text control: the text laid out as its style bits say
// (alignment, word wrap, vertical centring, '&' prefixes) inside the edges
// WS_BORDER and SS_SUNKEN ask for. Mouse input passes through to the dialog
// unless SS_NOTIFY is set, as on Win32.
#pragma once

#include <QLabel>
#include <QString>

#include <cstdint>

namespace platform::window {

class StaticControl : public QLabel {
    Q_OBJECT

  public:
    explicit StaticControl(QWidget* parent = nullptr);

    void SetStyle(std::uint32_t style, std::uint32_t exStyle = 0);
    std::uint32_t Style() const { return m_style; }

    // The text as given; '&' prefixes are resolved only for display.
    void SetText(const QString& text);
    QString Text() const { return m_text; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QString DisplayText() const;

    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
    QString m_text;
};

// The text a Win32 static shows for `text` without SS_NOPREFIX: "&&" is an
// ampersand, a single '&' only underlines the next letter and is dropped.
QString ResolvePrefixes(const QString& text);

}  // namespace platform::window
