// The painting vocabulary on GDI+. Geometry follows the Qt backend's, pixel
// for pixel where nothing is antialiased: the Graphics runs with
// PixelOffsetModeHalf, so pixel (x, y) covers [x, x + 1) x [y, y + 1) as in
// Qt, and GDI+ itself puts an aliased stroke on the pixels Qt does.
#include "platform/window/win32/painting.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <map>
#include <mutex>
#include <string>

#include "platform/window/win32/text_conversion.h"

namespace platform::window {

namespace {

using Gdiplus::REAL;

constexpr wchar_t DEFAULT_FACE[] = L"Tahoma";
constexpr int DEFAULT_POINTS = 8;

Gdiplus::Color ColorOf(ColorRef color, double opacity) {
    const auto alpha = static_cast<BYTE>(std::lround(std::clamp(opacity, 0.0, 1.0) * 255));
    return Gdiplus::Color(alpha, static_cast<BYTE>(RedOf(color)), static_cast<BYTE>(GreenOf(color)),
                          static_cast<BYTE>(BlueOf(color)));
}

Gdiplus::RectF RectFOf(const Rect& r) {
    return Gdiplus::RectF(static_cast<REAL>(r.left), static_cast<REAL>(r.top),
                          static_cast<REAL>(r.Width()), static_cast<REAL>(r.Height()));
}

// The box shrunk by half a pixel each side: an outline through the centres
// of the box's outer pixels.
Gdiplus::RectF CentresOf(const Rect& box) {
    return Gdiplus::RectF(static_cast<REAL>(box.left + 0.5), static_cast<REAL>(box.top + 0.5),
                          static_cast<REAL>(box.Width() - 1), static_cast<REAL>(box.Height() - 1));
}

}  // namespace

// ---- Font ------------------------------------------------------------------

namespace {

LOGFONTW DefaultLogFont() {
    LOGFONTW font{};
    font.lfHeight = 0;  // the size is in points (Font::Impl::points)
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    std::wcsncpy(font.lfFaceName, DEFAULT_FACE, LF_FACESIZE - 1);
    return font;
}

// A size in points while lfHeight is 0.
int PointsOf(const LOGFONTW& font) {
    return font.lfHeight == 0 ? DEFAULT_POINTS : 0;
}

// The family GDI+ draws `face` in: the face itself, else the first of the
// dialog faces Windows has (a dialog's "MS Shell Dlg" is Tahoma), else the
// sans-serif faces Wine finds on a Linux host, else any. Found once per
// face: looking a family up is slow.
const Gdiplus::FontFamily* FamilyFor(const wchar_t* face) {
    static std::mutex lock;
    static std::map<std::wstring, std::unique_ptr<Gdiplus::FontFamily>> found;
    const std::lock_guard<std::mutex> hold(lock);
    auto& family = found[face];
    if (family) return family.get();
    for (const wchar_t* name : {face, L"Tahoma", L"Segoe UI", L"Microsoft Sans Serif", L"Arial",
                                L"DejaVu Sans", L"Liberation Sans"}) {
        auto candidate = std::make_unique<Gdiplus::FontFamily>(name);
        if (candidate->GetLastStatus() == Gdiplus::Ok) {
            family = std::move(candidate);
            return family.get();
        }
    }
    Gdiplus::InstalledFontCollection installed;
    Gdiplus::FontFamily first;
    INT count = 0;
    if (installed.GetFamilyCount() > 0 && installed.GetFamilies(1, &first, &count) == Gdiplus::Ok &&
        count == 1)
        family.reset(first.Clone());
    return family.get();
}

}  // namespace

Font::Font() : m_impl(std::make_unique<Impl>(Impl{DefaultLogFont()})) {}
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
    LOGFONTW font = DefaultLogFont();
    font.lfHeight = -std::max(1, pixelHeight);
    font.lfWeight = weight;
    const std::wstring wide = win32::Widen(face);
    std::wcsncpy(font.lfFaceName, wide.c_str(), LF_FACESIZE - 1);
    font.lfFaceName[LF_FACESIZE - 1] = L'\0';
    return Font(std::make_unique<Impl>(Impl{font}));
}

int Font::PixelSize() const {
    // A negative height is the characters' height in pixels.
    return m_impl->logFont.lfHeight < 0 ? -m_impl->logFont.lfHeight : -1;
}
void Font::SetPixelSize(int pixels) {
    if (pixels > 0) m_impl->logFont.lfHeight = -pixels;
}
bool Font::Bold() const {
    return m_impl->logFont.lfWeight >= FW_BOLD;
}
void Font::SetBold(bool bold) {
    m_impl->logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
}
bool Font::Italic() const {
    return m_impl->logFont.lfItalic != FALSE;
}
void Font::SetItalic(bool italic) {
    m_impl->logFont.lfItalic = italic ? TRUE : FALSE;
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
    if (m_impl == nullptr) return Size{};
    return Size{static_cast<int>(m_impl->bitmap->GetWidth()),
                static_cast<int>(m_impl->bitmap->GetHeight())};
}

namespace win32 {

bool StartGdiplus() {
    static const bool started = [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        // Never shut down: windows paint until the process ends.
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return started;
}

Font FontFromLogFont(const LOGFONTW& logFont) {
    return Font(std::make_unique<Font::Impl>(Font::Impl{logFont}));
}

std::unique_ptr<Gdiplus::Font> ToGdiplusFont(const Font& font) {
    const LOGFONTW& lf = font.Get().logFont;
    const int style = (lf.lfWeight >= FW_BOLD ? Gdiplus::FontStyleBold : 0) |
                      (lf.lfItalic ? Gdiplus::FontStyleItalic : 0);
    const int points = PointsOf(lf);
    const REAL size = static_cast<REAL>(points > 0 ? points : std::abs(lf.lfHeight));
    const Gdiplus::Unit unit = points > 0 ? Gdiplus::UnitPoint : Gdiplus::UnitPixel;
    const Gdiplus::FontFamily* family = FamilyFor(lf.lfFaceName);
    if (family == nullptr) return std::make_unique<Gdiplus::Font>(lf.lfFaceName, size, style, unit);
    return std::make_unique<Gdiplus::Font>(family, size, style, unit);
}

Image ImageFromBitmap(Gdiplus::Bitmap& bitmap) {
    const UINT width = bitmap.GetWidth();
    const UINT height = bitmap.GetHeight();
    if (bitmap.GetLastStatus() != Gdiplus::Ok || width == 0 || height == 0) return Image();
    std::shared_ptr<Gdiplus::Bitmap> copy(bitmap.Clone(
        0, 0, static_cast<INT>(width), static_cast<INT>(height), PixelFormat32bppPARGB));
    if (copy == nullptr || copy->GetLastStatus() != Gdiplus::Ok) return Image();
    return Image(std::make_shared<const Image::Impl>(Image::Impl{std::move(copy)}));
}

}  // namespace win32

// ---- DeviceContext ---------------------------------------------------------

namespace {

using State = DeviceContext::Impl::State;
using Brush = DeviceContext::Impl::Brush;

std::unique_ptr<Gdiplus::Pen> PenOf(const State& state) {
    if (state.nullPen || state.pen.style == PenStyle::None) return nullptr;
    auto pen = std::make_unique<Gdiplus::Pen>(ColorOf(state.pen.color, state.opacity),
                                              static_cast<REAL>(state.pen.width));
    if (state.pen.ends == LineEnds::Round) {
        pen->SetLineCap(Gdiplus::LineCapRound, Gdiplus::LineCapRound, Gdiplus::DashCapRound);
        pen->SetLineJoin(Gdiplus::LineJoinRound);
    } else {
        pen->SetLineCap(Gdiplus::LineCapSquare, Gdiplus::LineCapSquare, Gdiplus::DashCapFlat);
        pen->SetLineJoin(Gdiplus::LineJoinBevel);
    }
    if (state.pen.style == PenStyle::Dash) {
        // Four pen widths drawn, two left out.
        const REAL pattern[] = {4, 2};
        pen->SetDashPattern(pattern, 2);
    }
    return pen;
}

std::unique_ptr<Gdiplus::Brush> BrushOf(const State& state) {
    const Brush& brush = state.brush;
    switch (brush.kind) {
        case Brush::Kind::Solid:
            return std::make_unique<Gdiplus::SolidBrush>(ColorOf(brush.color, state.opacity));
        case Brush::Kind::Gradient: {
            const REAL top = static_cast<REAL>(brush.box.top + 0.5);
            const REAL bottom = static_cast<REAL>(brush.box.bottom - 0.5);
            if (bottom <= top)
                return std::make_unique<Gdiplus::SolidBrush>(ColorOf(brush.color, state.opacity));
            auto gradient = std::make_unique<Gdiplus::LinearGradientBrush>(
                Gdiplus::PointF(0, top), Gdiplus::PointF(0, bottom),
                ColorOf(brush.color, state.opacity), ColorOf(brush.bottom, state.opacity));
            gradient->SetWrapMode(Gdiplus::WrapModeTileFlipXY);
            return gradient;
        }
        case Brush::Kind::None:
            break;
    }
    return nullptr;
}

std::vector<Gdiplus::PointF> PointsOf(std::span<const Point> points) {
    std::vector<Gdiplus::PointF> result;
    result.reserve(points.size());
    for (const Point p : points)
        result.emplace_back(static_cast<REAL>(p.x), static_cast<REAL>(p.y));
    return result;
}

// The text as GDI+ lays it out for DrawText's format bits.
std::unique_ptr<Gdiplus::StringFormat> FormatOf(unsigned format) {
    auto result =
        std::make_unique<Gdiplus::StringFormat>(Gdiplus::StringFormat::GenericTypographic());
    result->SetAlignment((format & DT_CENTER)  ? Gdiplus::StringAlignmentCenter
                         : (format & DT_RIGHT) ? Gdiplus::StringAlignmentFar
                                               : Gdiplus::StringAlignmentNear);
    result->SetLineAlignment((format & DT_VCENTER)  ? Gdiplus::StringAlignmentCenter
                             : (format & DT_BOTTOM) ? Gdiplus::StringAlignmentFar
                                                    : Gdiplus::StringAlignmentNear);
    INT flags = result->GetFormatFlags() | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;
    if ((format & DT_WORDBREAK) == 0 || (format & DT_SINGLELINE) != 0)
        flags |= Gdiplus::StringFormatFlagsNoWrap;
    result->SetFormatFlags(flags);
    result->SetHotkeyPrefix((format & DT_NOPREFIX) != 0 ? Gdiplus::HotkeyPrefixNone
                                                        : Gdiplus::HotkeyPrefixShow);
    return result;
}

// Under DT_SINGLELINE a line break is a space, as the text stays on one line.
std::wstring TextFor(std::string_view text, unsigned format) {
    std::wstring wide = win32::Widen(text);
    if ((format & DT_SINGLELINE) != 0)
        std::replace_if(
            wide.begin(), wide.end(), [](wchar_t c) { return c == L'\n' || c == L'\r'; }, L' ');
    return wide;
}

// Each line too wide for `width` shortened with "..." as DrawText's
// ellipsis bits ask: at its end, or in its middle for a path. GDI+ trims
// only the last line it lays out (and Wine's not at all), so the lines are
// measured and cut here, one character at a time.
std::wstring ElideLines(Gdiplus::Graphics& graphics, const Gdiplus::Font& font,
                        const std::wstring& text, REAL width, unsigned format) {
    const auto measuring = FormatOf(DT_SINGLELINE | (format & DT_NOPREFIX));
    const auto fits = [&](const std::wstring& line) {
        Gdiplus::RectF bounds;
        graphics.MeasureString(line.c_str(), static_cast<INT>(line.size()), &font,
                               Gdiplus::PointF(0, 0), measuring.get(), &bounds);
        return bounds.Width <= width;
    };
    const bool middle = (format & DT_PATH_ELLIPSIS) != 0;
    const auto elide = [&](const std::wstring& line) {
        if (fits(line)) return line;
        for (std::size_t keep = line.size(); keep-- > 0;) {
            const std::size_t head = middle ? (keep + 1) / 2 : keep;
            const std::wstring shortened =
                line.substr(0, head) + L"..." + line.substr(line.size() - (keep - head));
            if (fits(shortened)) return shortened;
        }
        return std::wstring(L"...");
    };
    std::wstring result;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(L'\n', start);
        result += elide(text.substr(start, end == std::wstring::npos ? end : end - start));
        if (end == std::wstring::npos) return result;
        result += L'\n';
        start = end + 1;
    }
}

// Images are blended at the state's opacity.
std::unique_ptr<Gdiplus::ImageAttributes> AttributesOf(const State& state) {
    if (state.opacity >= 1) return nullptr;
    Gdiplus::ColorMatrix matrix{};
    for (int i = 0; i < 5; ++i) matrix.m[i][i] = 1;
    matrix.m[3][3] = static_cast<REAL>(std::clamp(state.opacity, 0.0, 1.0));
    auto attributes = std::make_unique<Gdiplus::ImageAttributes>();
    attributes->SetColorMatrix(&matrix);
    return attributes;
}

}  // namespace

DeviceContext::DeviceContext(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
DeviceContext::~DeviceContext() = default;

void DeviceContext::Save() {
    State kept = m_impl->state;
    kept.graphics = m_impl->graphics.Save();
    m_impl->saved.push_back(std::move(kept));
}
void DeviceContext::Restore() {
    if (m_impl->saved.empty()) return;
    State& kept = m_impl->saved.back();
    m_impl->graphics.Restore(kept.graphics);
    m_impl->state = std::move(kept);
    m_impl->saved.pop_back();
    SetAntialiasing(m_impl->state.antialiasing);
}
void DeviceContext::SetAntialiasing(bool on) {
    m_impl->state.antialiasing = on;
    m_impl->graphics.SetSmoothingMode(on ? Gdiplus::SmoothingModeAntiAlias
                                         : Gdiplus::SmoothingModeNone);
}

void DeviceContext::SetPen(const Pen& pen) {
    m_impl->state.pen = pen;
    m_impl->state.nullPen = false;
}
void DeviceContext::SetNullPen() {
    m_impl->state.nullPen = true;
}
void DeviceContext::SetBrush(ColorRef color) {
    m_impl->state.brush = Brush{Brush::Kind::Solid, color, {}, 0};
}
void DeviceContext::SetNullBrush() {
    m_impl->state.brush = Brush{};
}
void DeviceContext::SetGradientBrush(const Rect& box, ColorRef top, ColorRef bottom) {
    m_impl->state.brush = Brush{Brush::Kind::Gradient, top, box, bottom};
}
ColorRef DeviceContext::BackgroundColor() const {
    return m_impl->state.background;
}
void DeviceContext::SetBackgroundColor(ColorRef color) {
    m_impl->state.background = color;
}
void DeviceContext::Translate(double dx, double dy) {
    m_impl->graphics.TranslateTransform(static_cast<REAL>(dx), static_cast<REAL>(dy));
}
void DeviceContext::SetClipRect(const Rect& rect) {
    m_impl->graphics.SetClip(RectFOf(rect), Gdiplus::CombineModeReplace);
}
void DeviceContext::SetOpacity(double opacity) {
    m_impl->state.opacity = opacity;
}

void DeviceContext::FillRect(const Rect& rect, ColorRef color) {
    if (rect.IsEmpty()) return;
    Gdiplus::SolidBrush brush(ColorOf(color, m_impl->state.opacity));
    m_impl->graphics.FillRectangle(&brush, RectFOf(rect));
}

void DeviceContext::FillGradient(const Rect& rect, ColorRef top, ColorRef bottom) {
    if (rect.IsEmpty()) return;
    const double opacity = m_impl->state.opacity;
    Gdiplus::LinearGradientBrush brush(Gdiplus::PointF(0, static_cast<REAL>(rect.top)),
                                       Gdiplus::PointF(0, static_cast<REAL>(rect.bottom)),
                                       ColorOf(top, opacity), ColorOf(bottom, opacity));
    brush.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    m_impl->graphics.FillRectangle(&brush, RectFOf(rect));
}

void DeviceContext::Rectangle(const Rect& rect) {
    const State& state = m_impl->state;
    if (auto brush = BrushOf(state)) m_impl->graphics.FillRectangle(brush.get(), RectFOf(rect));
    if (auto pen = PenOf(state)) {
        m_impl->graphics.DrawRectangle(pen.get(), RectFOf(rect));
    }
}

void DeviceContext::RoundedRectangle(const Rect& box, double radius) {
    const Gdiplus::RectF r = CentresOf(box);
    const REAL d = static_cast<REAL>(std::min<double>(radius * 2, std::min(r.Width, r.Height)));
    Gdiplus::GraphicsPath path;
    if (d <= 0) {
        path.AddRectangle(r);
    } else {
        path.AddArc(r.X, r.Y, d, d, 180, 90);
        path.AddArc(r.X + r.Width - d, r.Y, d, d, 270, 90);
        path.AddArc(r.X + r.Width - d, r.Y + r.Height - d, d, d, 0, 90);
        path.AddArc(r.X, r.Y + r.Height - d, d, d, 90, 90);
        path.CloseFigure();
    }
    if (auto brush = BrushOf(m_impl->state)) m_impl->graphics.FillPath(brush.get(), &path);
    if (auto pen = PenOf(m_impl->state)) m_impl->graphics.DrawPath(pen.get(), &path);
}

void DeviceContext::Ellipse(const Rect& box) {
    const Gdiplus::RectF r = CentresOf(box);
    if (auto brush = BrushOf(m_impl->state)) m_impl->graphics.FillEllipse(brush.get(), r);
    if (auto pen = PenOf(m_impl->state)) m_impl->graphics.DrawEllipse(pen.get(), r);
}

void DeviceContext::Pie(const Rect& box, double startDegrees, double sweepDegrees) {
    // GDI+ turns clockwise, as its y axis points down.
    const Gdiplus::RectF r = CentresOf(box);
    const auto start = static_cast<REAL>(-startDegrees);
    const auto sweep = static_cast<REAL>(-sweepDegrees);
    if (auto brush = BrushOf(m_impl->state)) m_impl->graphics.FillPie(brush.get(), r, start, sweep);
    if (auto pen = PenOf(m_impl->state)) m_impl->graphics.DrawPie(pen.get(), r, start, sweep);
}

void DeviceContext::Line(Point from, Point to) {
    const Point points[] = {from, to};
    Polyline(points);
}

void DeviceContext::SetPixel(Point at) {
    const State& state = m_impl->state;
    if (state.nullPen || state.pen.style == PenStyle::None) return;
    // A square of the pen's width centred on the pixel's centre.
    const double width = std::max(1.0, state.pen.width);
    Gdiplus::SolidBrush ink(ColorOf(state.pen.color, state.opacity));
    m_impl->graphics.FillRectangle(&ink, static_cast<REAL>(at.x + 0.5 - width / 2),
                                   static_cast<REAL>(at.y + 0.5 - width / 2),
                                   static_cast<REAL>(width), static_cast<REAL>(width));
}

void DeviceContext::Polyline(std::span<const Point> points) {
    if (points.empty()) return;
    auto pen = PenOf(m_impl->state);
    if (!pen) return;
    const auto at = PointsOf(points);
    if (at.size() == 1) {
        SetPixel(points.front());
        return;
    }
    m_impl->graphics.DrawLines(pen.get(), at.data(), static_cast<INT>(at.size()));
}

void DeviceContext::Polygon(std::span<const Point> points) {
    if (points.size() < 2) return;
    const auto corners = PointsOf(points);
    const auto count = static_cast<INT>(corners.size());
    if (auto brush = BrushOf(m_impl->state))
        m_impl->graphics.FillPolygon(brush.get(), corners.data(), count);
    if (auto pen = PenOf(m_impl->state))
        m_impl->graphics.DrawPolygon(pen.get(), corners.data(), count);
}

Font DeviceContext::WindowFont() const {
    return m_impl->windowFont;
}

void DeviceContext::SetFont(const Font& font) {
    m_impl->state.font = font;
}

void DeviceContext::SetTextColor(ColorRef color) {
    m_impl->state.text = color;
}

void DeviceContext::DrawText(const Rect& rect, std::string_view text, unsigned format) {
    if (text.empty()) return;
    const State& state = m_impl->state;
    const auto font = win32::ToGdiplusFont(state.font);
    const auto layout = FormatOf(format);
    Gdiplus::SolidBrush ink(ColorOf(state.text, state.opacity));
    std::wstring wide = TextFor(text, format);
    if ((format & DT_ELLIPSIS_MASK) != 0)
        wide = ElideLines(m_impl->graphics, *font, wide, RectFOf(rect).Width, format);
    m_impl->graphics.DrawString(wide.c_str(), static_cast<INT>(wide.size()), font.get(),
                                RectFOf(rect), layout.get(), &ink);
}

void DeviceContext::DrawTextAt(Point baseline, std::string_view text) {
    if (text.empty()) return;
    const State& state = m_impl->state;
    const auto font = win32::ToGdiplusFont(state.font);
    // GDI+ places a line by its top: the base line lies the ascent below it.
    Gdiplus::FontFamily family;
    font->GetFamily(&family);
    const INT style = font->GetStyle();
    const REAL ascent = font->GetSize() * family.GetCellAscent(style) /
                        static_cast<REAL>(std::max<UINT16>(1, family.GetEmHeight(style)));
    const REAL pixels = font->GetUnit() == Gdiplus::UnitPoint ? ascent * 96 / 72 : ascent;
    Gdiplus::SolidBrush ink(ColorOf(state.text, state.opacity));
    const std::wstring wide = TextFor(text, DT_SINGLELINE);
    const Gdiplus::PointF origin(static_cast<REAL>(baseline.x),
                                 static_cast<REAL>(baseline.y) - pixels);
    m_impl->graphics.DrawString(wide.c_str(), static_cast<INT>(wide.size()), font.get(), origin,
                                FormatOf(DT_SINGLELINE).get(), &ink);
}

int DeviceContext::TextWidth(std::string_view text) const {
    if (text.empty()) return 0;
    const auto font = win32::ToGdiplusFont(m_impl->state.font);
    const std::wstring wide = TextFor(text, DT_SINGLELINE);
    Gdiplus::RectF bounds;
    m_impl->graphics.MeasureString(wide.c_str(), static_cast<INT>(wide.size()), font.get(),
                                   Gdiplus::PointF(0, 0), FormatOf(DT_SINGLELINE).get(), &bounds);
    return static_cast<int>(std::ceil(bounds.Width));
}

int Font::LineHeight() const {
    HDC screen = GetDC(nullptr);
    LOGFONTW logFont = m_impl->logFont;
    if (PointsOf(logFont) > 0)
        logFont.lfHeight = -MulDiv(PointsOf(logFont), GetDeviceCaps(screen, LOGPIXELSY), 72);
    HFONT font = CreateFontIndirectW(&logFont);
    HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

int Font::TextWidth(std::string_view text) const {
    if (text.empty()) return 0;
    HDC screen = GetDC(nullptr);
    int width = 0;
    {
        Gdiplus::Graphics graphics(screen);
        const auto font = win32::ToGdiplusFont(*this);
        const std::wstring wide = TextFor(text, DT_SINGLELINE);
        Gdiplus::RectF bounds;
        graphics.MeasureString(wide.c_str(), static_cast<INT>(wide.size()), font.get(),
                               Gdiplus::PointF(0, 0), FormatOf(DT_SINGLELINE).get(), &bounds);
        width = static_cast<int>(std::ceil(bounds.Width));
    }
    ReleaseDC(nullptr, screen);
    return width;
}

void DeviceContext::DrawImage(Point to, const Image& image, const Rect& source) {
    if (image.IsNull() || source.IsEmpty()) return;
    const auto attributes = AttributesOf(m_impl->state);
    const Gdiplus::Rect target(to.x, to.y, source.Width(), source.Height());
    m_impl->graphics.DrawImage(image.Get()->bitmap.get(), target, source.left, source.top,
                               source.Width(), source.Height(), Gdiplus::UnitPixel,
                               attributes.get());
}

void DeviceContext::DrawImage(Point to, const Image& image) {
    const Size size = image.GetSize();
    DrawImage(to, image, Rect::FromSize(0, 0, size.width, size.height));
}

void DeviceContext::StretchImage(const Rect& to, const Image& image) {
    if (image.IsNull() || to.IsEmpty()) return;
    const Size size = image.GetSize();
    const auto attributes = AttributesOf(m_impl->state);
    const Gdiplus::Rect target(to.left, to.top, to.Width(), to.Height());
    m_impl->graphics.DrawImage(image.Get()->bitmap.get(), target, 0, 0, size.width, size.height,
                               Gdiplus::UnitPixel, attributes.get());
}

void DeviceContext::TileImage(const Rect& rect, const Image& image) {
    if (image.IsNull() || rect.IsEmpty()) return;
    Gdiplus::TextureBrush tiles(image.Get()->bitmap.get(), Gdiplus::WrapModeTile);
    tiles.TranslateTransform(static_cast<REAL>(rect.left), static_cast<REAL>(rect.top));
    m_impl->graphics.FillRectangle(&tiles, RectFOf(rect));
}

namespace win32 {

void PaintWith(Gdiplus::Graphics& graphics, const Font& windowFont,
               const std::function<void(DeviceContext&)>& paint) {
    // Pixel (x, y) covers [x, x + 1) x [y, y + 1); pictures are copied, not
    // smoothed.
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceOver);
    DeviceContext dc(std::make_unique<DeviceContext::Impl>(graphics, windowFont));
    dc.SetAntialiasing(false);
    paint(dc);
    while (!dc.Get().saved.empty()) dc.Restore();
}

}  // namespace win32

Image CreateImage(Size size, ColorRef fill) {
    if (size.IsEmpty() || !win32::StartGdiplus()) return Image();
    auto bitmap = std::make_shared<Gdiplus::Bitmap>(size.width, size.height, PixelFormat32bppPARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return Image();
    {
        Gdiplus::Graphics graphics(bitmap.get());
        graphics.Clear(ColorOf(fill, 1));
    }
    return Image(std::make_shared<const Image::Impl>(Image::Impl{std::move(bitmap)}));
}

Image PaintOnImage(const Image& image, const std::function<void(DeviceContext&)>& paint) {
    if (image.IsNull()) return Image();
    Gdiplus::Bitmap& source = *image.Get()->bitmap;
    std::shared_ptr<Gdiplus::Bitmap> copy(source.Clone(0, 0, static_cast<INT>(source.GetWidth()),
                                                       static_cast<INT>(source.GetHeight()),
                                                       PixelFormat32bppPARGB));
    if (copy == nullptr || copy->GetLastStatus() != Gdiplus::Ok) return Image();
    {
        Gdiplus::Graphics graphics(copy.get());
        win32::PaintWith(graphics, Font(), paint);
    }
    return Image(std::make_shared<const Image::Impl>(Image::Impl{std::move(copy)}));
}

}  // namespace platform::window
