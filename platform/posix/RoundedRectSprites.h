// The rounded rectangles of the canvas: their outline as a Cairo path, and the pictures of their
// fills and outlines kept per size, radii, line width, colour, scale and sub-pixel position, so
// that the many equal boxes of a drawing cost a copy each instead of a rasterisation.
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cstddef>

#include "platform/Canvas.h"
#include "platform/Geometry.h"
#include "platform/posix/LruCache.h"
#include "platform/posix/Sprite.h"

namespace vantor::platform {

// Replaces cr's path with the rounded rectangle `rect` (in cr's user space, y down); radii
// larger than half the rectangle are cut down to fit, as AppKit does.
void traceRoundedRect(cairo_t* cr, const Rect& rect, double xRadius, double yRadius);

class RoundedRectSprites {
public:
    // Sub-pixel positions are told apart in steps of 1 / kPhaseSteps of a device pixel.
    static constexpr int kPhaseSteps = 8;
    // Larger pictures are not kept: they are drawn directly.
    static constexpr int kMaxSide = 512;
    static constexpr int kMaxPixels = 256 * 256;

    explicit RoundedRectSprites(std::size_t capacity = 48) : sprites_(capacity) {}

    // The one set of pictures of the calling thread, shared by its canvases.
    static RoundedRectSprites& forThisThread();

    // Paints the rounded rectangle `rect` (cr's user space, y down, no transformation but a
    // translation) filled, or outlined with a line of that width centred on its edge, in
    // `colour`, blended over what is there inside `clip` (cr's). False when the picture would
    // be too large to keep, and nothing was drawn.
    bool fill(cairo_t* cr, const PixelClip& clip, const Rect& rect, double xRadius, double yRadius,
              const Color& colour) {
        return draw(cr, clip, rect, xRadius, yRadius, -1, colour);
    }
    bool stroke(cairo_t* cr, const PixelClip& clip, const Rect& rect, double xRadius,
                double yRadius, double lineWidth, const Color& colour) {
        return draw(cr, clip, rect, xRadius, yRadius, std::max(0.0, lineWidth), colour);
    }

    std::size_t size() const { return sprites_.size(); }
    void clear() { sprites_.clear(); }

private:
    // lineWidth < 0: the fill.
    bool draw(cairo_t* cr, const PixelClip& clip, const Rect& rect, double xRadius, double yRadius,
              double lineWidth, const Color& colour);

    struct Key {
        double width, height, xRadius, yRadius, lineWidth, scale;
        int phaseX, phaseY;
        Color colour;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };

    LruCache<Key, Sprite, KeyHash> sprites_;
};

}  // namespace vantor::platform
