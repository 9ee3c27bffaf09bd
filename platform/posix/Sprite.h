// A small picture rendered once (premultiplied ARGB at a surface's scale) and painted many times
// by whole device pixels, placed relative to the device pixel it is anchored at.
#pragma once

#include <cairo.h>

namespace vantor::platform {

// The part of a surface that drawing reaches, in device pixels (x from the left, y from the
// top): the bounds of the clip, and whether the clip is exactly that rectangle on whole pixels.
struct PixelClip {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool wholePixels = false;
};

class Sprite {
public:
    Sprite() = default;
    // A transparent picture of width × height device pixels at `scale` pixels per point whose
    // top-left pixel lies (offsetX, offsetY) pixels from its anchor.
    Sprite(int width, int height, double scale, int offsetX, int offsetY);
    ~Sprite();
    Sprite(Sprite&& other) noexcept;
    Sprite& operator=(Sprite&& other) noexcept;
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    // Where a point of cr's user space lies on its target, in device pixels (x from the left,
    // y from the top).
    static void toDevicePixels(cairo_t* cr, double& x, double& y);
    // Whether cr's user space is its target's points moved, neither scaled nor turned: what a
    // picture painted pixel for pixel needs.
    static bool onlyTranslated(cairo_t* cr);

    bool valid() const { return surface_ != nullptr; }
    cairo_surface_t* surface() const { return surface_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int offsetX() const { return offsetX_; }
    int offsetY() const { return offsetY_; }

    // Cuts the picture down to the pixels that hold anything; an empty picture becomes 0 × 0.
    void cropToInk();

    // Paints the picture blended over what cr's target holds, anchored at device pixel (x, y),
    // inside `clip` (which must be cr's). The target's scale must be the picture's. Within a
    // clip on whole pixels the pixels are blended here, as Cairo would blend them, without the
    // cost of a Cairo operation.
    void paint(cairo_t* cr, long x, long y, const PixelClip& clip) const;

private:
    cairo_surface_t* surface_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    double scale_ = 1;
    int offsetX_ = 0;
    int offsetY_ = 0;
};

}  // namespace vantor::platform
