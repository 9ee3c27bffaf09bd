#include "platform/posix/CairoCanvas.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/posix/RoundedRectSprites.h"
#include "platform/posix/TextSprites.h"

namespace vantor::platform {

namespace {

// Whole pixels for a length in points, within what a Cairo image surface can be (at least one,
// at most 32767 pixels): an absurd or undefined length makes the largest or the smallest surface,
// never an integer overflow.
int pixelsFor(double points, double scale) {
    constexpr double kMaxPixels = 32767;
    const double pixels = std::ceil(points * scale);
    if (!(pixels >= 1)) return 1;
    return static_cast<int>(std::min(pixels, kMaxPixels));
}

PangoAlignment pangoAlignment(TextAlignment alignment) {
    switch (alignment) {
        case TextAlignment::Right:
            return PANGO_ALIGN_RIGHT;
        case TextAlignment::Center:
            return PANGO_ALIGN_CENTER;
        case TextAlignment::Left:
            break;
    }
    return PANGO_ALIGN_LEFT;
}

}  // namespace

CairoCanvas::CairoCanvas(double width, double height, double scale, Drawing drawing)
    : width_(width), height_(height), scale_(scale), drawing_(drawing), flipHeight_(height) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelsFor(width, scale),
                                          pixelsFor(height, scale));
    cairo_surface_set_device_scale(surface_, scale, scale);
    cr_ = cairo_create(surface_);
    clip_ = {0, 0, static_cast<double>(pixelsFor(width, scale)),
             static_cast<double>(pixelsFor(height, scale)), true};
}

CairoCanvas::~CairoCanvas() {
    if (systemFont_) pango_font_description_free(systemFont_);
    if (layout_) g_object_unref(layout_);
    if (pangoContext_) g_object_unref(pangoContext_);
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void CairoCanvas::prepareTextDrawing(std::span<const double> pointSizes) {
    TextSprites::forThisThread().prepare(pointSizes);
}

Rect CairoCanvas::toSurface(const Rect& rect) const {
    return {{rect.origin.x, flipHeight_ - (rect.origin.y + rect.size.height)}, rect.size};
}

void CairoCanvas::pushViewFrame(const Rect& frame) {
    const Rect r = toSurface(frame);
    double left = r.origin.x, top = r.origin.y;
    double right = r.origin.x + r.size.width, bottom = r.origin.y + r.size.height;
    Sprite::toDevicePixels(cr_, left, top);
    Sprite::toDevicePixels(cr_, right, bottom);
    const auto whole = [](double v) { return v == std::floor(v); };
    pushedClips_.push_back(clip_);
    clip_ = {std::max(clip_.left, left), std::max(clip_.top, top), std::min(clip_.right, right),
             std::min(clip_.bottom, bottom),
             clip_.wholePixels && whole(left) && whole(top) && whole(right) && whole(bottom)};
    cairo_save(cr_);
    cairo_translate(cr_, r.origin.x, r.origin.y);
    cairo_new_path(cr_);
    cairo_rectangle(cr_, 0, 0, r.size.width, r.size.height);
    cairo_clip(cr_);
    pushedFlipHeights_.push_back(flipHeight_);
    flipHeight_ = frame.size.height;
}

void CairoCanvas::popViewFrame() {
    if (pushedFlipHeights_.empty()) return;
    cairo_restore(cr_);
    flipHeight_ = pushedFlipHeights_.back();
    pushedFlipHeights_.pop_back();
    clip_ = pushedClips_.back();
    pushedClips_.pop_back();
}

void CairoCanvas::drawCanvas(const CairoCanvas& source, Point origin, double alpha) {
    const Rect r = toSurface({origin, {source.width_, source.height_}});
    cairo_surface_flush(source.surface_);
    cairo_save(cr_);
    cairo_set_source_surface(cr_, source.surface_, r.origin.x, r.origin.y);
    cairo_paint_with_alpha(cr_, alpha);
    cairo_restore(cr_);
}

void CairoCanvas::setSource(const Color& color) {
    cairo_set_source_rgba(cr_, color.red, color.green, color.blue, color.alpha);
}

void CairoCanvas::fillRectUsingOperation(const Rect& rect, CompositingOperation operation) {
    const Rect r = toSurface(rect);
    cairo_save(cr_);
    switch (operation) {
        case CompositingOperation::Clear:
            cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
            break;
        case CompositingOperation::Copy:
            cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
            break;
        case CompositingOperation::SourceOver:
            cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
            break;
    }
    setSource(fillColor_);
    cairo_rectangle(cr_, r.origin.x, r.origin.y, r.size.width, r.size.height);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void CairoCanvas::fill(const RoundedRectPath& path) {
    const Rect r = toSurface(path.rect);
    if (drawing_ == Drawing::Cached && RoundedRectSprites::forThisThread().fill(
                                           cr_, clip_, r, path.xRadius, path.yRadius, fillColor_)) {
        return;
    }
    traceRoundedRect(cr_, r, path.xRadius, path.yRadius);
    setSource(fillColor_);
    cairo_fill(cr_);
}

void CairoCanvas::stroke(const RoundedRectPath& path) {
    const Rect r = toSurface(path.rect);
    if (drawing_ == Drawing::Cached &&
        RoundedRectSprites::forThisThread().stroke(cr_, clip_, r, path.xRadius, path.yRadius,
                                                   path.lineWidth, strokeColor_)) {
        return;
    }
    traceRoundedRect(cr_, r, path.xRadius, path.yRadius);
    setSource(strokeColor_);
    cairo_set_line_width(cr_, path.lineWidth);
    cairo_stroke(cr_);
}

PangoLayout* CairoCanvas::layoutFor(std::string_view text, const TextAttributes& attributes,
                                    double width) {
    if (!layout_) {
        // Text is placed and measured in points whatever the scale, as AppKit does: unhinted
        // metrics and unrounded glyph positions keep a string's extent the same at 1× and 2×.
        pangoContext_ = newTextContext(cr_);
        layout_ = pango_layout_new(pangoContext_);
        systemFont_ = newSystemFontDescription();
    }
    // The font size is the em size in points, as with AppKit's point sizes: an absolute size
    // in user units, which the surface's scale turns into pixels.
    pango_font_description_set_absolute_size(systemFont_, attributes.font.pointSize * PANGO_SCALE);
    pango_layout_set_font_description(layout_, systemFont_);
    pango_layout_set_text(layout_, text.empty() ? "" : text.data(), static_cast<int>(text.size()));
    pango_layout_set_width(layout_, width < 0 ? -1 : pango_units_from_double(width));
    pango_layout_set_alignment(layout_, pangoAlignment(attributes.alignment));
    return layout_;
}

Size CairoCanvas::sizeWithAttributes(std::string_view text, const TextAttributes& attributes) {
    if (drawing_ == Drawing::Cached) {
        if (const std::optional<Size> size =
                TextSprites::forThisThread().size(text, attributes.font.pointSize)) {
            return *size;
        }
    }
    PangoLayout* layout = layoutFor(text, attributes, -1);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    return {pango_units_to_double(logical.width), pango_units_to_double(logical.height)};
}

void CairoCanvas::drawInRect(std::string_view text, const Rect& rect,
                             const TextAttributes& attributes) {
    if (rect.size.width <= 0 || rect.size.height <= 0) return;
    const Rect r = toSurface(rect);
    if (drawing_ == Drawing::Cached &&
        TextSprites::forThisThread().draw(cr_, clip_, text, r, attributes)) {
        return;
    }
    PangoLayout* layout = layoutFor(text, attributes, r.size.width);
    cairo_save(cr_);
    cairo_rectangle(cr_, r.origin.x, r.origin.y, r.size.width, r.size.height);
    cairo_clip(cr_);
    setSource(attributes.foregroundColor);
    cairo_move_to(cr_, r.origin.x, r.origin.y);
    pango_cairo_show_layout(cr_, layout);
    cairo_restore(cr_);
}

std::uint32_t CairoCanvas::pixel(int x, int y) const {
    cairo_surface_flush(surface_);
    const unsigned char* row =
        cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    return reinterpret_cast<const std::uint32_t*>(row)[x];
}

bool CairoCanvas::writePng(const std::string& path) const {
    cairo_surface_flush(surface_);
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace vantor::platform

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VANTOR_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(VANTOR_LEAK_CHECKED)
// Fontconfig keeps its configuration and font patterns for the life of the process (only
// FcFini frees them, which nothing may call while Pango's font map holds fonts), and the leak
// checker reports the parts it cannot trace back to a live pointer at exit. Every program
// that draws text links this object, so the one exception lives here.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif
