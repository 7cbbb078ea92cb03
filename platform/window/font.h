// A font: a face, a size in pixels and a weight, as a window's text is drawn
// in it. A value: copies are cheap and independent.
#pragma once

#include <memory>
#include <string_view>

namespace platform::window {

class Font {
  public:
    struct Impl;

    // The application's default font.
    Font();
    explicit Font(std::unique_ptr<Impl> impl);
    ~Font();
    Font(const Font& other);
    Font& operator=(const Font& other);
    Font(Font&&) noexcept;
    Font& operator=(Font&&) noexcept;

    // The font CreateFont makes of `face` with characters `pixelHeight`
    // pixels high (at least one) and `weight` (100 to 900: 400 normal, 500
    // medium, 700 bold), antialiased where the screen allows.
    static Font Create(std::string_view face, int pixelHeight, int weight);

    int PixelSize() const;  // -1 where the size was given in points
    void SetPixelSize(int pixels);
    bool Bold() const;
    void SetBold(bool bold);
    bool Italic() const;
    void SetItalic(bool italic);

    // Width in pixels of one line of text in this font, as a screen device
    // context measures it (GetTextExtentPoint32).
    int TextWidth(std::string_view text) const;
    // Height in pixels of one line of text in this font (TEXTMETRIC's
    // tmHeight: ascent plus descent).
    int LineHeight() const;

    const Impl& Get() const { return *m_impl; }

  private:
    std::unique_ptr<Impl> m_impl;
};

}  // namespace platform::window
