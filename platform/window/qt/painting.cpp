#include "platform/window/qt/painting.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPen>
#include <QPolygon>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/window/qt/conversions.h"

namespace platform::window {

// ---- Font ------------------------------------------------------------------

Font::Font() : m_impl(std::make_unique<Impl>()) {}
Font::Font(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
Font::~Font() = default;
Font::Font(const Font& other) : m_impl(std::make_unique<Impl>(*other.m_impl)) {}
Font& Font::operator=(const Font& other) {
    if (this != &other) m_impl = std::make_unique<Impl>(*other.m_impl);
    return *this;
}
Font::Font(Font&&) noexcept = default;
Font& Font::operator=(Font&&) noexcept = default;

Font Font::Create(std::string_view face, int pixelHeight, int weight) {
    QFont font(ToQString(face));
    font.setPixelSize(std::max(1, pixelHeight));
    font.setWeight(QFont::Weight(weight));
    font.setStyleStrategy(QFont::PreferAntialias);
    return FontFromQFont(font);
}

int Font::PixelSize() const {
    return m_impl->font.pixelSize();
}
void Font::SetPixelSize(int pixels) {
    m_impl->font.setPixelSize(pixels);
}
bool Font::Bold() const {
    return m_impl->font.bold();
}
void Font::SetBold(bool bold) {
    m_impl->font.setBold(bold);
}
bool Font::Italic() const {
    return m_impl->font.italic();
}
void Font::SetItalic(bool italic) {
    m_impl->font.setItalic(italic);
}

Font FontFromQFont(const QFont& font) {
    return Font(std::make_unique<Font::Impl>(Font::Impl{font}));
}

QFont ToQFont(const Font& font) {
    return font.Get().font;
}

BaseUnits MeasureBaseUnits(const QFont& font) {
    return MeasureBaseUnits(FontFromQFont(font));
}

// ---- Image -----------------------------------------------------------------

Image::Image() = default;
Image::Image(std::shared_ptr<const Impl> impl) : m_impl(std::move(impl)) {}
Image::~Image() = default;
Image::Image(const Image&) = default;
Image& Image::operator=(const Image&) = default;

bool Image::IsNull() const {
    return m_impl == nullptr;
}

Size Image::GetSize() const {
    return m_impl == nullptr ? Size{} : FromQSize(m_impl->pixmap.size());
}

Image ImageFromPixmap(const QPixmap& pixmap) {
    if (pixmap.isNull()) return Image();
    return Image(std::make_shared<const Image::Impl>(Image::Impl{pixmap}));
}

QIcon ToQIcon(const Icon& icon) {
    QIcon result;
    for (const Image& image : icon.Images()) result.addPixmap(ToQPixmap(image));
    return result;
}

QPixmap ToQPixmap(const Image& image) {
    return image.Get() == nullptr ? QPixmap() : image.Get()->pixmap;
}

Image CreateImage(Size size, ColorRef fill) {
    if (size.IsEmpty()) return Image();
    QPixmap pixmap(size.width, size.height);
    pixmap.fill(ToQColor(fill));
    return ImageFromPixmap(pixmap);
}

// ---- DeviceContext ---------------------------------------------------------

namespace {

// Qt's drawing takes QRectF (x, y, width, height) for shapes whose outline
// passes through pixel centres: the box shrunk by half a pixel each side.
QRectF CentresOf(const Rect& box) {
    return QRectF(ToQRect(box)).adjusted(0.5, 0.5, -0.5, -0.5);
}

int TextFlags(unsigned format) {
    int flags = 0;
    if (format & DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (format & DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (format & DT_VCENTER)
        flags |= Qt::AlignVCenter;
    else if (format & DT_BOTTOM)
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    if (format & DT_SINGLELINE) flags |= Qt::TextSingleLine;
    if (format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
    if ((format & DT_NOPREFIX) == 0) flags |= Qt::TextShowMnemonic;
    return flags;
}

Qt::TextElideMode ElideModeOf(unsigned format) {
    if (format & DT_PATH_ELLIPSIS) return Qt::ElideMiddle;
    if (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)) return Qt::ElideRight;
    return Qt::ElideNone;
}

// Each line shortened on its own, as DrawText's ellipsis bits ask.
QString ElideLines(const QString& text, const QFontMetrics& metrics, Qt::TextElideMode mode,
                   int width, int flags) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) line = metrics.elidedText(line, mode, width, flags);
    return lines.join(QLatin1Char('\n'));
}

QPolygon ToQPolygon(std::span<const Point> points) {
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const Point p : points) polygon.append(ToQPoint(p));
    return polygon;
}

}  // namespace

DeviceContext::DeviceContext(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
DeviceContext::~DeviceContext() = default;

void DeviceContext::Save() {
    m_impl->painter.save();
    m_impl->saved.push_back(m_impl->colours);
}
void DeviceContext::Restore() {
    if (m_impl->saved.empty()) return;
    m_impl->painter.restore();
    m_impl->colours = m_impl->saved.back();
    m_impl->saved.pop_back();
}
void DeviceContext::SetAntialiasing(bool on) {
    m_impl->painter.setRenderHint(QPainter::Antialiasing, on);
}

void DeviceContext::SetPen(const Pen& pen) {
    const Qt::PenStyle style = pen.style == PenStyle::None   ? Qt::NoPen
                               : pen.style == PenStyle::Dash ? Qt::DashLine
                                                             : Qt::SolidLine;
    if (pen.ends == LineEnds::Round)
        m_impl->painter.setPen(
            QPen(ToQColor(pen.color), pen.width, style, Qt::RoundCap, Qt::RoundJoin));
    else
        m_impl->painter.setPen(QPen(QBrush(ToQColor(pen.color)), pen.width, style));
}
void DeviceContext::SetNullPen() {
    m_impl->painter.setPen(Qt::NoPen);
}
void DeviceContext::SetBrush(ColorRef color) {
    m_impl->painter.setBrush(ToQColor(color));
}
void DeviceContext::SetNullBrush() {
    m_impl->painter.setBrush(Qt::NoBrush);
}
void DeviceContext::SetGradientBrush(const Rect& box, ColorRef top, ColorRef bottom) {
    const QRectF centres = CentresOf(box);
    QLinearGradient fill(centres.topLeft(), centres.bottomLeft());
    fill.setColorAt(0, ToQColor(top));
    fill.setColorAt(1, ToQColor(bottom));
    m_impl->painter.setBrush(fill);
}
ColorRef DeviceContext::BackgroundColor() const {
    return m_impl->colours.background;
}
void DeviceContext::SetBackgroundColor(ColorRef color) {
    m_impl->colours.background = color;
}
void DeviceContext::Translate(double dx, double dy) {
    m_impl->painter.translate(dx, dy);
}
void DeviceContext::SetClipRect(const Rect& rect) {
    m_impl->painter.setClipRect(ToQRect(rect));
}
void DeviceContext::SetOpacity(double opacity) {
    m_impl->painter.setOpacity(opacity);
}

void DeviceContext::FillRect(const Rect& rect, ColorRef color) {
    m_impl->painter.fillRect(ToQRect(rect), ToQColor(color));
}

void DeviceContext::FillGradient(const Rect& rect, ColorRef top, ColorRef bottom) {
    QLinearGradient fill(0, rect.top, 0, rect.bottom);
    fill.setColorAt(0, ToQColor(top));
    fill.setColorAt(1, ToQColor(bottom));
    m_impl->painter.fillRect(ToQRect(rect), fill);
}

void DeviceContext::Rectangle(const Rect& rect) {
    m_impl->painter.drawRect(ToQRect(rect));
}

void DeviceContext::RoundedRectangle(const Rect& box, double radius) {
    m_impl->painter.drawRoundedRect(CentresOf(box), radius, radius);
}

void DeviceContext::Ellipse(const Rect& box) {
    m_impl->painter.drawEllipse(CentresOf(box));
}

void DeviceContext::Pie(const Rect& box, double startDegrees, double sweepDegrees) {
    // Qt counts in sixteenths of a degree.
    m_impl->painter.drawPie(CentresOf(box), static_cast<int>(std::lround(startDegrees * 16)),
                            static_cast<int>(std::lround(sweepDegrees * 16)));
}

void DeviceContext::Line(Point from, Point to) {
    m_impl->painter.drawLine(from.x, from.y, to.x, to.y);
}

void DeviceContext::SetPixel(Point at) {
    m_impl->painter.drawPoint(ToQPoint(at));
}

void DeviceContext::Polyline(std::span<const Point> points) {
    m_impl->painter.drawPolyline(ToQPolygon(points));
}

void DeviceContext::Polygon(std::span<const Point> points) {
    m_impl->painter.drawPolygon(ToQPolygon(points));
}

Font DeviceContext::WindowFont() const {
    return FontFromQFont(m_impl->windowFont);
}

void DeviceContext::SetFont(const Font& font) {
    m_impl->painter.setFont(ToQFont(font));
}

void DeviceContext::SetTextColor(ColorRef color) {
    m_impl->colours.text = ToQColor(color);
}

void DeviceContext::DrawText(const Rect& rect, std::string_view text, unsigned format) {
    QPainter& painter = m_impl->painter;
    const QPen pen = painter.pen();
    painter.setPen(m_impl->colours.text);
    const int flags = TextFlags(format);
    QString shown = ToQString(text);
    const Qt::TextElideMode elide = ElideModeOf(format);
    if (elide != Qt::ElideNone)
        shown = ElideLines(shown, QFontMetrics(painter.font()), elide, rect.Width(), flags);
    painter.drawText(ToQRect(rect), flags, shown);
    painter.setPen(pen);
}

void DeviceContext::DrawTextAt(Point baseline, std::string_view text) {
    QPainter& painter = m_impl->painter;
    const QPen pen = painter.pen();
    painter.setPen(m_impl->colours.text);
    painter.drawText(ToQPoint(baseline), ToQString(text));
    painter.setPen(pen);
}

int Font::TextWidth(std::string_view text) const {
    return QFontMetrics(m_impl->font).horizontalAdvance(ToQString(text));
}

int Font::LineHeight() const {
    return QFontMetrics(m_impl->font).height();
}

int DeviceContext::TextWidth(std::string_view text) const {
    return QFontMetrics(m_impl->painter.font()).horizontalAdvance(ToQString(text));
}

void DeviceContext::DrawImage(Point to, const Image& image, const Rect& source) {
    if (image.IsNull()) return;
    m_impl->painter.drawPixmap(ToQPoint(to), image.Get()->pixmap, ToQRect(source));
}

void DeviceContext::DrawImage(Point to, const Image& image) {
    if (image.IsNull()) return;
    m_impl->painter.drawPixmap(ToQPoint(to), image.Get()->pixmap);
}

void DeviceContext::StretchImage(const Rect& to, const Image& image) {
    if (image.IsNull()) return;
    m_impl->painter.drawPixmap(ToQRect(to), image.Get()->pixmap);
}

void DeviceContext::TileImage(const Rect& rect, const Image& image) {
    if (image.IsNull()) return;
    m_impl->painter.drawTiledPixmap(ToQRect(rect), image.Get()->pixmap);
}

void PaintWith(QPainter& painter, const QFont& windowFont,
               const std::function<void(DeviceContext&)>& paint) {
    DeviceContext dc(std::make_unique<DeviceContext::Impl>(
        DeviceContext::Impl{painter, windowFont, {painter.pen().color()}, {}}));
    paint(dc);
    // What the paint saved and did not restore is the painter's no longer.
    while (!dc.Get().saved.empty()) dc.Restore();
}

Image PaintOnImage(const Image& image, const std::function<void(DeviceContext&)>& paint) {
    if (image.IsNull()) return Image();
    QPixmap copy = image.Get()->pixmap;
    copy.detach();
    {
        QPainter painter(&copy);
        PaintWith(painter, QFont(), paint);
    }
    return ImageFromPixmap(copy);
}

void PaintWidget(QWidget& widget, const std::function<void(DeviceContext&)>& paint) {
    QPainter painter(&widget);
    PaintWith(painter, widget.font(), paint);
}

}  // namespace platform::window
