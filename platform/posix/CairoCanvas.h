// The canvas on a Cairo image surface, with text through Pango: what the Linux build and the
// simulated desktop draw on. The surface holds premultiplied ARGB pixels, row 0 at the top; the
// canvas turns the view's coordinates (origin bottom-left, y up) into the surface's in one
// place. Rounded rectangles and short texts are drawn from pictures kept across canvases.
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "platform/posix/Sprite.h"

namespace vantor::platform {

class CairoCanvas final : public Canvas {
public:
    // How rounded rectangles and text reach the surface.
    enum class Drawing {
        // From pictures rendered once per size, scale, colour and sub-pixel position and kept
        // for the thread's canvases; placed within 1/16 of a pixel of where Direct puts them
        // (text exactly), anything too large to keep is drawn directly.
        Cached,
        // Every path rasterised and every text laid out and rendered on each call.
        Direct,
    };

    // A fully transparent surface of width × height points at `scale` pixels per point (2 for
    // a HiDPI screen); each pixel dimension is rounded up.
    CairoCanvas(double width, double height, double scale = 1.0, Drawing drawing = Drawing::Cached);
    ~CairoCanvas() override;
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    void setFill(const Color& color) override { fillColor_ = color; }
    void setStroke(const Color& color) override { strokeColor_ = color; }
    void fillRectUsingOperation(const Rect& rect, CompositingOperation operation) override;
    void fill(const RoundedRectPath& path) override;
    void stroke(const RoundedRectPath& path) override;
    Size sizeWithAttributes(std::string_view text, const TextAttributes& attributes) override;
    void drawInRect(std::string_view text, const Rect& rect,
                    const TextAttributes& attributes) override;

    double width() const { return width_; }
    double height() const { return height_; }
    double scale() const { return scale_; }
    int pixelWidth() const { return cairo_image_surface_get_width(surface_); }
    int pixelHeight() const { return cairo_image_surface_get_height(surface_); }

    // The surface, for whoever composes it further (the simulated screen).
    cairo_surface_t* surface() const { return surface_; }
    // One pixel as premultiplied ARGB (alpha in the top byte), x from the left and y from the
    // top in pixels; pending drawing is flushed first.
    std::uint32_t pixel(int x, int y) const;

    Drawing drawing() const { return drawing_; }

    // Starts the font system and renders the hint characters once in the system font of each
    // size (none: only the start), on the calling thread, so that the first canvas drawing
    // text in those sizes later is as quick as the ones after it.
    static void prepareTextDrawing(std::span<const double> pointSizes);

    // Saves the surface as a PNG file; false when it cannot be written.
    bool writePng(const std::string& path) const;

    // Drawing a tree of views on one canvas: until the matching popViewFrame, coordinates are
    // those of a view whose frame is `frame` in the current coordinates (origin at its
    // bottom-left corner, y up), and nothing is drawn outside that frame. Pairs nest.
    void pushViewFrame(const Rect& frame);
    void popViewFrame();

    // Paints another canvas (a window's backing) with its bottom-left corner at `origin`,
    // blended over what is there at the given opacity.
    void drawCanvas(const CairoCanvas& source, Point origin, double alpha = 1.0);

private:
    // View rectangle to surface rectangle in points (origin top-left, y down): the one flip.
    Rect toSurface(const Rect& rect) const;
    void setSource(const Color& color);
    // Prepares the canvas's layout for the text and attributes; width < 0 lays it out
    // unbounded. The layout is made on first use.
    PangoLayout* layoutFor(std::string_view text, const TextAttributes& attributes, double width);

    double width_;
    double height_;
    double scale_;
    Drawing drawing_;
    // The height of the current coordinate system, which the flip to the surface turns
    // around: the canvas's, or the view's pushed last.
    double flipHeight_;
    std::vector<double> pushedFlipHeights_;
    // What the clip leaves of the surface, and the clips the pushed views replaced.
    PixelClip clip_;
    std::vector<PixelClip> pushedClips_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;  // user space: surface points, y down (scaled once by `scale_`)
    PangoContext* pangoContext_ = nullptr;
    PangoLayout* layout_ = nullptr;
    PangoFontDescription* systemFont_ = nullptr;
    Color fillColor_;
    Color strokeColor_;
};

}  // namespace vantor::platform
