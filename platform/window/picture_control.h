// A static picture: a bitmap or icon drawn at its own size at the top-left
// corner, centred with SS_CENTERIMAGE, or stretched over the control with
// SS_REALSIZECONTROL; whatever overhangs the control is cut off.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QWidget>

#include <cstdint>

namespace platform::window {

class PictureControl : public QWidget {
    Q_OBJECT

  public:
    explicit PictureControl(QWidget* parent = nullptr);

    void SetStyle(std::uint32_t style, std::uint32_t exStyle = 0);

    // Each returns the previous picture and repaints.
    QPixmap SetBitmap(const QPixmap& bitmap);
    QIcon SetIcon(const QIcon& icon);
    QPixmap GetBitmap() const { return m_bitmap; }
    QIcon GetIcon() const { return m_icon; }

    // Where the picture is drawn, in the control's coordinates.
    QRect PictureRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap Shown() const;

    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
    QPixmap m_bitmap;
    QIcon m_icon;
};

}  // namespace platform::window
