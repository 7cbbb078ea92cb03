#include "skin/artgen/glyphs.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <algorithm>
#include <cmath>

#include "skin/artgen/art_style.h"

namespace skin::art {
namespace {

QPen Stroke(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPointF At(const QRectF& box, qreal fx, qreal fy) {
    return QPointF(box.left() + fx * box.width(), box.top() + fy * box.height());
}

}  // namespace

void DrawBroadcastTower(QPainter& p, const QRectF& box, const QColor& mast, const QColor& waves,
                        qreal width, int waveCount) {
    p.save();
    Smooth(p);
    const QPointF tip = At(box, 0.5, 0.34);
    const qreal unit = std::min(box.width(), box.height());
    // Mast: an A-frame from the tip to the ground with one cross brace.
    p.setPen(Stroke(mast, width));
    p.setBrush(Qt::NoBrush);
    const QPointF footLeft = At(box, 0.5, 1.0) - QPointF(unit * 0.22, width / 2);
    const QPointF footRight = At(box, 0.5, 1.0) + QPointF(unit * 0.22, -width / 2);
    p.drawLine(tip, footLeft);
    p.drawLine(tip, footRight);
    const QPointF braceLeft = tip + (footLeft - tip) * 0.62;
    const QPointF braceRight = tip + (footRight - tip) * 0.62;
    p.drawLine(braceLeft, braceRight);
    // Radio waves: arcs on both sides of the tip.
    p.setPen(Stroke(waves, width));
    for (int i = 1; i <= waveCount; ++i) {
        const qreal r = unit * (0.12 + 0.15 * i);
        const QRectF arc(tip.x() - r, tip.y() - r, 2 * r, 2 * r);
        p.drawArc(arc, -40 * 16, 80 * 16);
        p.drawArc(arc, 140 * 16, 80 * 16);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(waves);
    const qreal dot = std::max<qreal>(width * 1.1, unit * 0.08);
    p.drawEllipse(tip, dot, dot);
    p.restore();
}

void DrawPower(QPainter& p, const QRectF& box, const QColor& colour, qreal width) {
    p.save();
    Smooth(p);
    p.setPen(Stroke(colour, width));
    // A ring open at the top, with the bar standing in the opening.
    const QRectF ring = box.adjusted(width / 2, width / 2, -width / 2, -width / 2);
    p.drawArc(ring, 125 * 16, 290 * 16);
    p.drawLine(QPointF(ring.center().x(), ring.top() - width * 0.6),
               QPointF(ring.center().x(), ring.center().y()));
    p.restore();
}

void DrawCheck(QPainter& p, const QRectF& box, const QColor& colour, qreal width) {
    p.save();
    Smooth(p);
    p.setPen(Stroke(colour, width));
    const QPointF points[] = {At(box, 0.0, 0.55), At(box, 0.36, 0.9), At(box, 1.0, 0.1)};
    p.drawPolyline(points, 3);
    p.restore();
}

void DrawCross(QPainter& p, const QRectF& box, const QColor& colour, qreal width) {
    p.save();
    Smooth(p);
    p.setPen(Stroke(colour, width));
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomLeft());
    p.restore();
}

void DrawChevronDown(QPainter& p, const QRectF& box, const QColor& colour, qreal width) {
    p.save();
    Smooth(p);
    p.setPen(Stroke(colour, width));
    const QPointF points[] = {At(box, 0.0, 0.2), At(box, 0.5, 0.8), At(box, 1.0, 0.2)};
    p.drawPolyline(points, 3);
    p.restore();
}

void DrawArrow(QPainter& p, const QRectF& box, const QColor& colour, qreal width,
               bool pointsRight) {
    p.save();
    Smooth(p);
    p.setPen(Stroke(colour, width));
    const qreal head = box.height() * 0.5;
    const qreal y = box.center().y();
    const qreal tipX = pointsRight ? box.right() : box.left();
    const qreal tailX = pointsRight ? box.left() : box.right();
    const qreal back = pointsRight ? -head : head;
    p.drawLine(QPointF(tailX, y), QPointF(tipX, y));
    const QPointF points[] = {QPointF(tipX + back, y - head), QPointF(tipX, y),
                              QPointF(tipX + back, y + head)};
    p.drawPolyline(points, 3);
    p.restore();
}

void DrawTrash(QPainter& p, const QRectF& box, const QColor& colour, qreal width) {
    p.save();
    Smooth(p);
    p.setPen(Stroke(colour, width));
    // Lid with a handle, then the tapered bin with two ribs.
    p.drawLine(At(box, 0.0, 0.2), At(box, 1.0, 0.2));
    p.drawLine(At(box, 0.38, 0.02), At(box, 0.62, 0.02));
    p.drawLine(At(box, 0.38, 0.02), At(box, 0.38, 0.2));
    p.drawLine(At(box, 0.62, 0.02), At(box, 0.62, 0.2));
    const QPointF bin[] = {At(box, 0.12, 0.32), At(box, 0.2, 1.0), At(box, 0.8, 1.0),
                           At(box, 0.88, 0.32)};
    p.drawPolyline(bin, 4);
    p.drawLine(At(box, 0.4, 0.42), At(box, 0.42, 0.86));
    p.drawLine(At(box, 0.6, 0.42), At(box, 0.58, 0.86));
    p.restore();
}

void DrawFolder(QPainter& p, const QRectF& box, const QColor& colour, qreal width) {
    p.save();
    Smooth(p);
    p.setPen(Stroke(colour, width));
    const QPointF outline[] = {At(box, 0.0, 1.0),  At(box, 0.0, 0.0),  At(box, 0.38, 0.0),
                               At(box, 0.5, 0.18), At(box, 1.0, 0.18), At(box, 1.0, 1.0),
                               At(box, 0.0, 1.0)};
    p.drawPolyline(outline, 7);
    p.drawLine(At(box, 0.0, 0.36), At(box, 1.0, 0.36));
    p.restore();
}

void DrawToTray(QPainter& p, const QRectF& box, const QColor& colour, qreal width) {
    p.save();
    Smooth(p);
    p.setPen(Stroke(colour, width));
    p.drawLine(At(box, 0.5, 0.0), At(box, 0.5, 0.58));
    const QPointF head[] = {At(box, 0.2, 0.32), At(box, 0.5, 0.62), At(box, 0.8, 0.32)};
    p.drawPolyline(head, 3);
    const QPointF tray[] = {At(box, 0.0, 0.7), At(box, 0.0, 1.0), At(box, 1.0, 1.0),
                            At(box, 1.0, 0.7)};
    p.drawPolyline(tray, 4);
    p.restore();
}

void DrawSliders(QPainter& p, const QRectF& box, const QColor& colour, qreal width) {
    p.save();
    Smooth(p);
    const qreal knobs[] = {0.3, 0.72, 0.45};
    for (int i = 0; i < 3; ++i) {
        const qreal y = box.top() + box.height() * (0.15 + 0.35 * i);
        p.setPen(Stroke(colour, width));
        p.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
        const QPointF knob(box.left() + box.width() * knobs[i], y);
        p.setBrush(colour);
        p.setPen(Qt::NoPen);
        p.drawEllipse(knob, width * 1.6, width * 1.6);
    }
    p.restore();
}

void DrawDocument(QPainter& p, const QRectF& box, const QColor& colour, qreal width) {
    p.save();
    Smooth(p);
    p.setPen(Stroke(colour, width));
    const QRectF page = box.adjusted(box.width() * 0.12, 0, -box.width() * 0.12, 0);
    const qreal fold = page.width() * 0.35;
    const QPointF outline[] = {page.topLeft(),
                               QPointF(page.right() - fold, page.top()),
                               QPointF(page.right(), page.top() + fold),
                               page.bottomRight(),
                               page.bottomLeft(),
                               page.topLeft()};
    p.drawPolyline(outline, 6);
    const QPointF corner[] = {QPointF(page.right() - fold, page.top()),
                              QPointF(page.right() - fold, page.top() + fold),
                              QPointF(page.right(), page.top() + fold)};
    p.drawPolyline(corner, 3);
    for (qreal fy : {0.5, 0.7, 0.88})
        p.drawLine(QPointF(page.left() + page.width() * 0.25, page.top() + page.height() * fy),
                   QPointF(page.right() - page.width() * 0.25, page.top() + page.height() * fy));
    p.restore();
}

void DrawPulse(QPainter& p, const QRectF& box, const QColor& colour, qreal width) {
    p.save();
    Smooth(p);
    p.setPen(Stroke(colour, width));
    const QPointF trace[] = {At(box, 0.0, 0.55),  At(box, 0.25, 0.55), At(box, 0.38, 0.1),
                             At(box, 0.55, 0.95), At(box, 0.68, 0.4),  At(box, 0.78, 0.55),
                             At(box, 1.0, 0.55)};
    p.drawPolyline(trace, 7);
    p.restore();
}

void DrawNetwork(QPainter& p, const QRectF& box, const QColor& colour, qreal width) {
    p.save();
    Smooth(p);
    const QPointF top = At(box, 0.5, 0.18);
    const QPointF left = At(box, 0.14, 0.84);
    const QPointF right = At(box, 0.86, 0.84);
    p.setPen(Stroke(colour, width));
    p.drawLine(top, left);
    p.drawLine(top, right);
    p.drawLine(left, right);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const qreal r = std::min(box.width(), box.height()) * 0.17;
    for (const QPointF& node : {top, left, right}) p.drawEllipse(node, r, r);
    p.restore();
}

void DrawSignalBars(QPainter& p, const QRectF& box, const QColor& colour) {
    p.save();
    Smooth(p);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const int bars = 4;
    const qreal gap = box.width() * 0.08;
    const qreal barWidth = (box.width() - gap * (bars - 1)) / bars;
    for (int i = 0; i < bars; ++i) {
        const qreal h = box.height() * (0.3 + 0.7 * i / (bars - 1));
        p.drawRoundedRect(QRectF(box.left() + i * (barWidth + gap), box.bottom() - h, barWidth, h),
                          0.8, 0.8);
    }
    p.restore();
}

void DrawList(QPainter& p, const QRectF& box, const QColor& colour, qreal width) {
    p.save();
    Smooth(p);
    for (int i = 0; i < 3; ++i) {
        const qreal y = box.top() + box.height() * (0.12 + 0.38 * i);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(QPointF(box.left() + width, y), width, width);
        p.setPen(Stroke(colour, width));
        p.drawLine(QPointF(box.left() + box.width() * 0.32, y), QPointF(box.right(), y));
    }
    p.restore();
}

void DrawReset(QPainter& p, const QRectF& box, const QColor& colour, qreal width) {
    p.save();
    Smooth(p);
    p.setPen(Stroke(colour, width));
    const QRectF ring = box.adjusted(width, width, -width, -width);
    // Open at the upper right; the arrow head at the lower end of the
    // opening points on around the turn.
    constexpr double START = 75.0;
    constexpr double SWEEP = 290.0;
    p.drawArc(ring, static_cast<int>(START * 16), static_cast<int>(SWEEP * 16));
    const double end = qDegreesToRadians(START + SWEEP);
    const QPointF centre = ring.center();
    const qreal r = ring.width() / 2;
    const QPointF tip = centre + QPointF(r * std::cos(end), -r * std::sin(end));
    // Direction of travel at the end of a counter-clockwise arc.
    const QPointF along(-std::sin(end), -std::cos(end));
    const qreal head = r * 0.75;
    const auto wing = [&](double turn) {
        const double a = qDegreesToRadians(turn);
        const QPointF back(-along.x(), -along.y());
        return tip + head * QPointF(back.x() * std::cos(a) - back.y() * std::sin(a),
                                    back.x() * std::sin(a) + back.y() * std::cos(a));
    };
    const QPointF arrow[] = {wing(40), tip, wing(-40)};
    p.drawPolyline(arrow, 3);
    p.restore();
}

}  // namespace skin::art
