// The canvas's text: the Pango set-up both its ways of drawing share, and the short strings
// (hint letters, counts) laid out once per font size and rendered once per scale, colour and
// sub-pixel position, so that drawing them again costs a copy instead of a layout and glyph
// rendering. What it draws is what a Pango layout of the same text draws, pixel for pixel.
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Geometry.h"
#include "platform/posix/LruCache.h"
#include "platform/posix/Sprite.h"

namespace vantor::platform {

// A Pango context for text drawn on cr's surface: points whatever the scale, with unhinted
// metrics and unrounded glyph positions, as AppKit places text. The caller owns it.
PangoContext* newTextContext(cairo_t* cr);
// The system font's description with no size yet. The caller frees it.
PangoFontDescription* newSystemFontDescription();

class TextSprites {
public:
    // What is kept: texts up to this many bytes and glyphs, drawn at most this many pixels
    // per em; longer or larger ones are laid out on every draw.
    static constexpr std::size_t kMaxBytes = 32;
    static constexpr std::size_t kMaxGlyphs = 8;
    static constexpr double kMaxPixelsPerEm = 256;

    explicit TextSprites(std::size_t lines = 256, std::size_t sprites = 256);
    ~TextSprites();
    TextSprites(const TextSprites&) = delete;
    TextSprites& operator=(const TextSprites&) = delete;

    // The one set of the calling thread, shared by its canvases.
    static TextSprites& forThisThread();

    // The text's extent on one line in points ([string sizeWithAttributes:]); none for a text
    // that is not kept, which the caller measures itself.
    std::optional<Size> size(std::string_view text, double pointSize);

    // Draws the text as a layout `rect.width` wide with the attributes' alignment whose top-left
    // corner is at `rect`'s (cr's user space, y down, no transformation but a translation),
    // clipped to `rect` and to `clip` (cr's). False when the text is not kept, does not fit on
    // one line or comes near the edge of `clip`, and nothing was drawn.
    bool draw(cairo_t* cr, const PixelClip& clip, std::string_view text, const Rect& rect,
              const TextAttributes& attributes);

    // Starts the font system and the system font, and renders the characters of hint labels
    // once in each size (at 1 and 2 pixels per point), so that the first text drawn afterwards
    // in those sizes does not wait for font set-up. What was prepared before costs nothing.
    void prepare(std::span<const double> pointSizes);

    std::size_t lineCount() const { return lines_.size(); }
    std::size_t spriteCount() const { return sprites_.size(); }
    void clear() {
        lines_.clear();
        sprites_.clear();
    }

private:
    // One text at one size laid out on an unbounded line, in Pango units from its origin.
    struct Line {
        Size size;
        int logicalWidth = 0;
        PangoRectangle ink{};
        // Where each glyph's origin lies; a line drawn from a kept picture has every glyph
        // found in some font, one line and left-to-right text.
        std::vector<std::pair<int, int>> glyphs;
        bool drawable = false;
    };
    struct LineKey {
        std::string text;
        double pointSize;
        friend bool operator==(const LineKey&, const LineKey&) = default;
    };
    struct LineKeyHash {
        std::size_t operator()(const LineKey& key) const;
    };
    // Cairo puts glyphs on whole device pixels and cuts them to the whole pixels around their
    // outlines and to the clip, so a picture serves every position whose fraction rounds each
    // glyph the same way (`roundingX`, `roundingY`: 2 bits per glyph), gives the same cut
    // (`inkBox`: left, top, right, bottom in pixels from the anchor) and the same clip
    // (`clipBox`, in 1/256 pixel from the anchor, no further out than the ink's margin).
    struct SpriteKey {
        std::string text;
        double pointSize;
        double scale;
        Color colour;
        std::uint32_t roundingX;
        std::uint32_t roundingY;
        std::array<std::int32_t, 4> inkBox;
        std::array<std::int32_t, 4> clipBox;
        friend bool operator==(const SpriteKey&, const SpriteKey&) = default;
    };
    struct SpriteKeyHash {
        std::size_t operator()(const SpriteKey& key) const;
    };

    static bool keepable(std::string_view text);
    void layOut(std::string_view text, double pointSize);
    const Line* line(std::string_view text, double pointSize);
    // Room around the outlines' pixels for ink reaching past them.
    static constexpr int kInkMargin = 3;
    Sprite render(std::string_view text, double pointSize, const SpriteKey& key, double phaseX,
                  double phaseY);

    cairo_surface_t* scratch_ = nullptr;
    cairo_t* scratchContext_ = nullptr;
    PangoContext* context_ = nullptr;
    PangoLayout* layout_ = nullptr;
    PangoFontDescription* font_ = nullptr;
    bool started_ = false;
    std::vector<double> preparedSizes_;
    LruCache<LineKey, Line, LineKeyHash> lines_;
    LruCache<SpriteKey, Sprite, SpriteKeyHash> sprites_;
};

}  // namespace vantor::platform
