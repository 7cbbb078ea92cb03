// The window of a balloon tooltip: a rounded balloon with a stem pointing
// at the pointer, a bold title after an optional icon, and the tip's lines
// (line feeds start new lines; nothing else wraps) in the tip's colour.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace platform::window {

class BalloonTipWindow : public QWidget {
    Q_OBJECT

  public:
    BalloonTipWindow();

    // icon: TTI_NONE, TTI_INFO, TTI_WARNING or TTI_ERROR.
    void SetContent(int icon, const QString& title, const QString& text, const QColor& color);
    // Shows the balloon with its stem's point at `point` (screen coordinates),
    // below it when there is room on the screen, else above.
    void ShowPointingAt(const QPoint& point);

    QString Title() const { return m_title; }
    QString Text() const { return m_text; }
    QStringList Lines() const { return m_lines; }
    QColor TextColor() const { return m_color; }
    int Icon() const { return m_icon; }
    bool StemOnTop() const { return m_stemOnTop; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QSize BodySize() const;
    QFont TitleFont() const;

    int m_icon = 0;
    QString m_title;
    QString m_text;
    QStringList m_lines;
    QColor m_color;
    bool m_stemOnTop = true;
    int m_stemX = 0;  // where the stem meets the body, from the left
};

}  // namespace platform::window
