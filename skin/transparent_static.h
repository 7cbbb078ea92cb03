// CTransparentStatic: a text label that paints only its letters, in the skin
// colour, so the window's background picture stays visible around them.
// Alignment, centring, prefix handling, ellipsis and wrapping follow the
// template's static style bits; a border or sunken edge is drawn around the
// text area when the style asks for one.
#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>

namespace skin {

class CTransparentStatic : public QWidget {
    Q_OBJECT
    // The window layer gives a template's text and style bits through these.
    Q_PROPERTY(QString text READ Text WRITE SetTextProperty)
    Q_PROPERTY(uint controlStyle READ Style WRITE SetStyleProperty)

  public:
    explicit CTransparentStatic(QWidget* parent = nullptr);

    // The template's style and extended style of the control.
    void SetStyle(std::uint32_t style, std::uint32_t exStyle = 0);
    std::uint32_t Style() const { return m_style; }

    // Replaces the text and has the parent repaint its background under the
    // label, so no trace of longer old text remains. True when the label has
    // a parent window.
    bool SetText(const QString& text);
    QString Text() const { return m_text; }

    void SetTextProperty(const QString& text) { SetText(text); }
    void SetStyleProperty(uint style) { SetStyle(style, m_exStyle); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString m_text;
    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
};

}  // namespace skin
