#include "skin/red_check_box.h"

#include "platform/window/images.h"
#include "skin/check_mark_geometry.h"
#include "skin/skin_palette.h"

namespace skin {
namespace {

namespace window = platform::window;

// One line of a three-dimensional edge along the inside of r: top-left in
// one tone, bottom-right in another.
void DrawEdgeRing(window::DeviceContext& dc, const window::Rect& r, ColorRef topLeft,
                  ColorRef bottomRight) {
    dc.FillRect(window::Rect::FromSize(r.left, r.top, r.Width(), 1), topLeft);
    dc.FillRect(window::Rect::FromSize(r.left, r.top, 1, r.Height()), topLeft);
    dc.FillRect(window::Rect::FromSize(r.left, r.bottom - 1, r.Width(), 1), bottomRight);
    dc.FillRect(window::Rect::FromSize(r.right - 1, r.top, 1, r.Height()), bottomRight);
}

}  // namespace

CRedCheckBox::CRedCheckBox() : m_backgroundTile(window::LoadBitmap(BACKGROUND_BITMAP_ID)) {
    SetPaintsItself();
}

bool CRedCheckBox::SetChecked(bool checked) {
    const bool previous = m_checked;
    m_checked = checked;
    Invalidate();
    return previous;
}

void CRedCheckBox::SetBackgroundTile(const window::Image& tile) {
    m_backgroundTile = tile;
    Invalidate();
}

void CRedCheckBox::OnPushStarted() {
    m_checked = !m_checked;
    Invalidate();
}

void CRedCheckBox::OnPaint(window::DeviceContext& dc) {
    const window::Rect client = GetClientRect();
    const int w = client.Width();
    const int h = client.Height();
    // The tile starts at the box's own top-left corner.
    dc.TileImage(window::Rect{0, 0, w, h}, m_backgroundTile);

    if (m_checked) {
        const auto points = CheckMarkPoints(w, h);
        dc.SetAntialiasing(true);
        // Coordinates name pixels: shift to pixel centres so that each point
        // of the polyline lies under the middle of the stroke.
        dc.Translate(0.5, 0.5);
        dc.SetPen(window::Pen{SKIN_COLOR, CHECK_MARK_PEN_WIDTH, window::PenStyle::Solid,
                              window::LineEnds::Round});
        dc.Polyline(points);
        return;
    }

    // Bump edge: a raised outer ring (light over dark shadow) around a sunken
    // inner ring (dark shadow over light), the platform's classic tones.
    const window::Rect frame = EtchedFrameRect(w, h);
    if (frame.Width() < 2 || frame.Height() < 2) return;
    DrawEdgeRing(dc, frame, EDGE_LIGHT, EDGE_DARK_SHADOW);
    if (frame.Width() >= 4 && frame.Height() >= 4)
        DrawEdgeRing(dc, frame.Deflated(1, 1, 1, 1), EDGE_DARK_SHADOW, EDGE_LIGHT);
}

}  // namespace skin
