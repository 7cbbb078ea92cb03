// Buttons (CButton): push buttons and check boxes. A push button shows its
// window text, or with BM_SETIMAGE semantics a bitmap or icon at its own
// size, centred (BS_LEFT or BS_RIGHT move it to that side) and cut off where
// it overhangs; while pressed the picture moves one pixel down and right. A
// flat button (BS_FLAT) draws no bevel, only its picture, so a skin's
// picture sits on the window's background, and a thin sunken edge while
// pressed. Owner-drawn buttons (BS_OWNERDRAW) are drawn by the dialog's
// OnDrawItem. A click notifies the dialog with BN_CLICKED.
//
// A button class that paints itself (SetPaintsItself) draws every state in
// OnPaint, asking GetState for BST_PUSHED, and may follow the operator's
// pushes with OnPushStarted and OnPushEnded.
//
// The check state and the pushed state live in the native control, as in
// Win32: without a window the button is unchecked and not pushed.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/window/geometry.h"
#include "platform/window/icon.h"
#include "platform/window/image.h"
#include "platform/window/window.h"

namespace platform::window {

class ButtonControl : public Window {
  public:
    // Makes the button's native window (CButton::Create): a child of
    // `parent` with control id `id`, or a top-level window when `parent` is
    // null; shown when `style` has WS_VISIBLE. False when the object has a
    // window already.
    bool Create(std::string_view text, std::uint32_t style, const Rect& rect,
                Window* parent = nullptr, int id = -1);

    void SetStyle(std::uint32_t style);
    std::uint32_t Style() const { return m_style; }
    bool IsDefaultButton() const;

    // Each returns the previous picture of its kind and repaints.
    Image SetBitmap(const Image& bitmap);
    Icon SetIcon(const Icon& icon);
    Image GetBitmap() const { return m_bitmap; }
    Icon GetIcon() const { return m_icon; }

    // The picture shown: the bitmap, else the icon's picture nearest the
    // button's size.
    Image ShownPicture() const;
    // Where it is drawn when the button is up, in client coordinates; empty
    // without a picture.
    Rect PictureRect() const;

    // BST_CHECKED or BST_UNCHECKED; push buttons are never checked.
    int GetCheck() const;
    void SetCheck(int check);
    // BST_PUSHED while the operator holds the button down with the pointer
    // on it or with Space, BST_FOCUS while it has the focus, and the check
    // state.
    unsigned GetState() const;

  protected:
    // The operator starts pushing the button: the left mouse button goes
    // down on it, or Space while it has the focus. Once per push, however
    // often the pointer leaves and comes back while the button is held.
    virtual void OnPushStarted();
    // That push ends: the mouse button or Space is let go (wherever the
    // pointer is), or the button loses the focus.
    virtual void OnPushEnded();

  private:
    friend class NativeWindow;

    std::uint32_t m_style = 0;
    Image m_bitmap;
    Icon m_icon;
};

// A check box (BS_CHECKBOX, BS_AUTOCHECKBOX): a box with the window text
// beside it; a click flips its check state.
class CheckBoxControl : public ButtonControl {};

}  // namespace platform::window
