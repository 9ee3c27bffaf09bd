#include "platform/posix/CairoCanvas.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vantor::platform {

namespace {

// The "system font": whatever fontconfig gives for the generic sans family; fontconfig falls
// back to other faces (CJK among them) for characters the face lacks.
constexpr const char* kSystemFontFamily = "Sans";

int pixelsFor(double points, double scale) {
    return std::max(1, static_cast<int>(std::ceil(points * scale)));
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

CairoCanvas::CairoCanvas(double width, double height, double scale)
    : width_(width), height_(height), scale_(scale), flipHeight_(height) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelsFor(width, scale),
                                          pixelsFor(height, scale));
    cairo_surface_set_device_scale(surface_, scale, scale);
    cr_ = cairo_create(surface_);

    // Text is placed and measured in points whatever the scale, as AppKit does: unhinted
    // metrics and unrounded glyph positions keep a string's extent the same at 1× and 2×.
    pangoContext_ = pango_cairo_create_context(cr_);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(pangoContext_, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(pangoContext_, FALSE);
    layout_ = pango_layout_new(pangoContext_);
    systemFont_ = pango_font_description_new();
    pango_font_description_set_family_static(systemFont_, kSystemFontFamily);
}

CairoCanvas::~CairoCanvas() {
    pango_font_description_free(systemFont_);
    g_object_unref(layout_);
    g_object_unref(pangoContext_);
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

Rect CairoCanvas::toSurface(const Rect& rect) const {
    return {{rect.origin.x, flipHeight_ - (rect.origin.y + rect.size.height)}, rect.size};
}

void CairoCanvas::pushViewFrame(const Rect& frame) {
    const Rect r = toSurface(frame);
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

void CairoCanvas::appendRoundedRect(const RoundedRectPath& path) {
    const Rect r = toSurface(path.rect);
    // Like AppKit, radii larger than half the rectangle are cut down to fit.
    const double rx = std::clamp(path.xRadius, 0.0, r.size.width / 2);
    const double ry = std::clamp(path.yRadius, 0.0, r.size.height / 2);
    const double left = r.origin.x;
    const double top = r.origin.y;
    const double right = left + r.size.width;
    const double bottom = top + r.size.height;
    cairo_new_path(cr_);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr_, left, top, r.size.width, r.size.height);
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
        cairo_save(cr_);
        cairo_translate(cr_, c.cx, c.cy);
        cairo_scale(cr_, rx, ry);
        cairo_arc(cr_, 0, 0, 1, c.from, c.from + pi / 2);
        cairo_restore(cr_);
    }
    cairo_close_path(cr_);
}

void CairoCanvas::fill(const RoundedRectPath& path) {
    appendRoundedRect(path);
    setSource(fillColor_);
    cairo_fill(cr_);
}

void CairoCanvas::stroke(const RoundedRectPath& path) {
    appendRoundedRect(path);
    setSource(strokeColor_);
    cairo_set_line_width(cr_, path.lineWidth);
    cairo_stroke(cr_);
}

PangoLayout* CairoCanvas::layoutFor(std::string_view text, const TextAttributes& attributes,
                                    double width) {
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
    PangoLayout* layout = layoutFor(text, attributes, -1);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    return {pango_units_to_double(logical.width), pango_units_to_double(logical.height)};
}

void CairoCanvas::drawInRect(std::string_view text, const Rect& rect,
                             const TextAttributes& attributes) {
    if (rect.size.width <= 0 || rect.size.height <= 0) return;
    const Rect r = toSurface(rect);
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
