#include "platform/posix/RoundedRectSprites.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace vantor::platform {

namespace {

void mix(std::size_t& seed, double value) {
    seed ^= std::hash<double>{}(value) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

}  // namespace

void traceRoundedRect(cairo_t* cr, const Rect& rect, double xRadius, double yRadius) {
    const double rx = std::clamp(xRadius, 0.0, rect.size.width / 2);
    const double ry = std::clamp(yRadius, 0.0, rect.size.height / 2);
    const double left = rect.origin.x;
    const double top = rect.origin.y;
    const double right = left + rect.size.width;
    const double bottom = top + rect.size.height;
    cairo_new_path(cr);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, left, top, rect.size.width, rect.size.height);
        return;
    }
    constexpr double pi = std::numbers::pi;
    // One quarter ellipse per corner, clockwise on the y-down surface from the top-right.
    const struct {
        double cx, cy, from;
    } corners[] = {{right - rx, top + ry, -pi / 2},
                   {right - rx, bottom - ry, 0},
                   {left + rx, bottom - ry, pi / 2},
                   {left + rx, top + ry, pi}};
    for (const auto& c : corners) {
        cairo_save(cr);
        cairo_translate(cr, c.cx, c.cy);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, c.from, c.from + pi / 2);
        cairo_restore(cr);
    }
    cairo_close_path(cr);
}

std::size_t RoundedRectSprites::KeyHash::operator()(const Key& key) const {
    std::size_t seed = 0;
    for (double v : {key.width, key.height, key.xRadius, key.yRadius, key.lineWidth, key.scale,
                     key.colour.red, key.colour.green, key.colour.blue, key.colour.alpha}) {
        mix(seed, v);
    }
    mix(seed, key.phaseX * kPhaseSteps + key.phaseY);
    return seed;
}

RoundedRectSprites& RoundedRectSprites::forThisThread() {
    thread_local RoundedRectSprites sprites;
    return sprites;
}

bool RoundedRectSprites::draw(cairo_t* cr, const PixelClip& clip, const Rect& rect, double xRadius,
                              double yRadius, double lineWidth, const Color& colour) {
    if (!Sprite::onlyTranslated(cr) || !(rect.size.width > 0) || !(rect.size.height > 0)) {
        return false;
    }
    double scale = 1, scaleY = 1;
    cairo_surface_get_device_scale(cairo_get_target(cr), &scale, &scaleY);

    // The picture is laid on whole device pixels; where the rectangle falls between them is
    // kept, in steps, as part of what the picture shows.
    double x = rect.origin.x, y = rect.origin.y;
    Sprite::toDevicePixels(cr, x, y);
    // Far off any surface (or not a number): Cairo draws it, as it takes any coordinate; the
    // pixel arithmetic below needs values that fit its integers.
    constexpr double kFar = 1 << 24;
    if (!(std::abs(x) < kFar && std::abs(y) < kFar && rect.size.width * scale < kFar &&
          rect.size.height * scale < kFar && lineWidth * scale < kFar)) {
        return false;
    }
    double anchorX = std::floor(x), anchorY = std::floor(y);
    int phaseX = static_cast<int>(std::lround((x - anchorX) * kPhaseSteps));
    int phaseY = static_cast<int>(std::lround((y - anchorY) * kPhaseSteps));
    if (phaseX == kPhaseSteps) {
        phaseX = 0;
        anchorX += 1;
    }
    if (phaseY == kPhaseSteps) {
        phaseY = 0;
        anchorY += 1;
    }

    const Key key{rect.size.width, rect.size.height, xRadius, yRadius, lineWidth,
                  scale,           phaseX,           phaseY,  colour};
    Sprite* sprite = sprites_.find(key);
    if (!sprite) {
        // Room for half the outline on every side, and a pixel for the sub-pixel position.
        const int margin = static_cast<int>(std::ceil(std::max(0.0, lineWidth) * scale / 2)) + 1;
        const int width = static_cast<int>(std::ceil(rect.size.width * scale)) + 2 * margin + 1;
        const int height = static_cast<int>(std::ceil(rect.size.height * scale)) + 2 * margin + 1;
        if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) return false;

        Sprite made(width, height, scale, -margin, -margin);
        cairo_t* paint = cairo_create(made.surface());
        const Rect at{{(margin + static_cast<double>(phaseX) / kPhaseSteps) / scale,
                       (margin + static_cast<double>(phaseY) / kPhaseSteps) / scale},
                      rect.size};
        traceRoundedRect(paint, at, xRadius, yRadius);
        cairo_set_source_rgba(paint, colour.red, colour.green, colour.blue, colour.alpha);
        if (lineWidth >= 0) {
            cairo_set_line_width(paint, lineWidth);
            cairo_stroke(paint);
        } else {
            cairo_fill(paint);
        }
        cairo_destroy(paint);
        made.cropToInk();
        sprite = &sprites_.insert(key, std::move(made));
    }
    // A clip between pixels cuts a path more finely than a picture: near one, the path is
    // filled.
    const double left = anchorX + sprite->offsetX(), top = anchorY + sprite->offsetY();
    if (!clip.wholePixels &&
        (left < clip.left || top < clip.top || left + sprite->width() > clip.right ||
         top + sprite->height() > clip.bottom)) {
        return false;
    }
    sprite->paint(cr, static_cast<long>(anchorX), static_cast<long>(anchorY), clip);
    return true;
}

}  // namespace vantor::platform
