#include "platform/posix/TextSprites.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace vantor::platform {

namespace {

// The "system font": whatever fontconfig gives for the generic sans family; fontconfig falls
// back to other faces (CJK among them) for characters the face lacks.
constexpr const char* kSystemFontFamily = "Sans";

// The size the font system is started with when no other is asked for.
constexpr double kStartSize = 16;

// The characters of hint labels: keys, the "×" of counts and their digits.
constexpr const char* kHintCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789?\xC3\x97";

void mix(std::size_t& seed, std::size_t value) {
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

std::size_t hashOf(double value) {
    return std::hash<double>{}(value);
}

// Cairo takes glyph positions and boxes to 1/256 of a device pixel.
double toFixedPrecision(double position) {
    return std::nearbyint(position * 256) / 256;
}

// Which whole pixel a glyph at `offset` pixels from an origin `phase` pixels past a pixel
// boundary lands on, relative to the offset's own whole part: 0, 1 or 2. Cairo rounds glyph
// positions to the nearest pixel, halves upwards.
std::uint32_t rounding(double phase, double offset) {
    const double position = toFixedPrecision(phase + offset);
    return static_cast<std::uint32_t>(std::floor(position + 0.5) - std::floor(offset));
}

}  // namespace

PangoContext* newTextContext(cairo_t* cr) {
    PangoContext* context = pango_cairo_create_context(cr);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
    return context;
}

PangoFontDescription* newSystemFontDescription() {
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family_static(font, kSystemFontFamily);
    return font;
}

std::size_t TextSprites::LineKeyHash::operator()(const LineKey& key) const {
    std::size_t seed = std::hash<std::string>{}(key.text);
    mix(seed, hashOf(key.pointSize));
    return seed;
}

std::size_t TextSprites::SpriteKeyHash::operator()(const SpriteKey& key) const {
    std::size_t seed = std::hash<std::string>{}(key.text);
    for (double v : {key.pointSize, key.scale, key.colour.red, key.colour.green, key.colour.blue,
                     key.colour.alpha}) {
        mix(seed, hashOf(v));
    }
    mix(seed, (static_cast<std::size_t>(key.roundingX) << 32) | key.roundingY);
    for (const std::int32_t edge : key.inkBox)
        mix(seed, static_cast<std::size_t>(edge));
    for (const std::int32_t edge : key.clipBox)
        mix(seed, static_cast<std::size_t>(edge));
    return seed;
}

TextSprites::TextSprites(std::size_t lines, std::size_t sprites)
    : lines_(lines), sprites_(sprites) {
    // Layouts need a context made for an image surface; what the surface holds is not used.
    scratch_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    scratchContext_ = cairo_create(scratch_);
    context_ = newTextContext(scratchContext_);
    layout_ = pango_layout_new(context_);
    font_ = newSystemFontDescription();
}

TextSprites::~TextSprites() {
    pango_font_description_free(font_);
    g_object_unref(layout_);
    g_object_unref(context_);
    cairo_destroy(scratchContext_);
    cairo_surface_destroy(scratch_);
}

TextSprites& TextSprites::forThisThread() {
    thread_local TextSprites sprites;
    return sprites;
}

bool TextSprites::keepable(std::string_view text) {
    if (text.size() > kMaxBytes) return false;
    for (const char c : text) {
        // Line and paragraph breaks, tabs and other controls: left to the layout.
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

void TextSprites::layOut(std::string_view text, double pointSize) {
    pango_font_description_set_absolute_size(font_, pointSize * PANGO_SCALE);
    pango_layout_set_font_description(layout_, font_);
    pango_layout_set_text(layout_, text.empty() ? "" : text.data(), static_cast<int>(text.size()));
    pango_layout_set_width(layout_, -1);
    pango_layout_set_alignment(layout_, PANGO_ALIGN_LEFT);
}

const TextSprites::Line* TextSprites::line(std::string_view text, double pointSize) {
    if (!keepable(text) || !(pointSize > 0)) return nullptr;
    LineKey key{std::string(text), pointSize};
    if (const Line* found = lines_.find(key)) return found;

    layOut(text, pointSize);
    Line made;
    PangoRectangle logical;
    pango_layout_get_extents(layout_, &made.ink, &logical);
    made.size = {pango_units_to_double(logical.width), pango_units_to_double(logical.height)};
    made.logicalWidth = logical.width;

    PangoLayoutLine* first = pango_layout_get_line_readonly(layout_, 0);
    made.drawable = pango_layout_get_line_count(layout_) == 1 && first &&
                    first->resolved_dir == PANGO_DIRECTION_LTR;
    PangoLayoutIter* iter = pango_layout_get_iter(layout_);
    do {
        PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter);
        if (!run) continue;
        PangoRectangle runLogical;
        pango_layout_iter_get_run_extents(iter, nullptr, &runLogical);
        const int baseline = pango_layout_iter_get_baseline(iter);
        int x = runLogical.x;
        for (int i = 0; i < run->glyphs->num_glyphs; ++i) {
            const PangoGlyphInfo& glyph = run->glyphs->glyphs[i];
            if (glyph.glyph & PANGO_GLYPH_UNKNOWN_FLAG) made.drawable = false;
            if (glyph.glyph != PANGO_GLYPH_EMPTY) {
                made.glyphs.emplace_back(x + glyph.geometry.x_offset,
                                         baseline + glyph.geometry.y_offset);
            }
            x += glyph.geometry.width;
        }
    } while (pango_layout_iter_next_run(iter));
    pango_layout_iter_free(iter);
    if (made.glyphs.size() > kMaxGlyphs) made.drawable = false;
    return &lines_.insert(key, std::move(made));
}

std::optional<Size> TextSprites::size(std::string_view text, double pointSize) {
    const Line* found = line(text, pointSize);
    if (!found) return std::nullopt;
    return found->size;
}

Sprite TextSprites::render(std::string_view text, double pointSize, const SpriteKey& key,
                           double phaseX, double phaseY) {
    const double scale = key.scale;
    // The ink with room for glyphs reaching past their outlines' pixels.
    const int left = key.inkBox[0] - kInkMargin;
    const int top = key.inkBox[1] - kInkMargin;
    const int width = key.inkBox[2] + kInkMargin - left;
    const int height = key.inkBox[3] + kInkMargin - top;

    Sprite sprite(width, height, scale, left, top);
    cairo_t* cr = cairo_create(sprite.surface());
    const auto atPoints = [scale](std::int32_t fixed, int origin) {
        return (fixed / 256.0 - origin) / scale;
    };
    cairo_rectangle(cr, atPoints(key.clipBox[0], left), atPoints(key.clipBox[1], top),
                    (key.clipBox[2] - key.clipBox[0]) / 256.0 / scale,
                    (key.clipBox[3] - key.clipBox[1]) / 256.0 / scale);
    cairo_clip(cr);
    layOut(text, pointSize);
    const Color& colour = key.colour;
    cairo_set_source_rgba(cr, colour.red, colour.green, colour.blue, colour.alpha);
    cairo_move_to(cr, (phaseX - left) / scale, (phaseY - top) / scale);
    pango_cairo_show_layout(cr, layout_);
    cairo_destroy(cr);
    sprite.cropToInk();
    return sprite;
}

bool TextSprites::draw(cairo_t* cr, const PixelClip& outer, std::string_view text, const Rect& rect,
                       const TextAttributes& attributes) {
    const double pointSize = attributes.font.pointSize;
    if (!Sprite::onlyTranslated(cr)) return false;
    double scale = 1, scaleY = 1;
    cairo_surface_get_device_scale(cairo_get_target(cr), &scale, &scaleY);
    if (pointSize * scale > kMaxPixelsPerEm) return false;
    const Line* found = line(text, pointSize);
    if (!found || !found->drawable) return false;

    // Where the layout puts the line in a rectangle of that width.
    const int layoutWidth = pango_units_from_double(rect.size.width);
    const int lineWidth = found->logicalWidth;
    if (lineWidth > layoutWidth) return false;
    int alignOffset = 0;
    switch (attributes.alignment) {
        case TextAlignment::Left:
            break;
        case TextAlignment::Right:
            alignOffset = layoutWidth - lineWidth;
            break;
        case TextAlignment::Center:
            alignOffset = (layoutWidth - lineWidth) / 2;
            // Centred between whole points, a line stays on whole points.
            if (((layoutWidth | lineWidth) & (PANGO_SCALE - 1)) == 0) {
                alignOffset = PANGO_UNITS_ROUND(alignOffset);
            }
            break;
    }

    double originX = rect.origin.x + pango_units_to_double(alignOffset);
    double originY = rect.origin.y;
    Sprite::toDevicePixels(cr, originX, originY);
    const double anchorX = std::floor(originX), anchorY = std::floor(originY);
    const double phaseX = originX - anchorX, phaseY = originY - anchorY;

    // The whole pixels around the outlines, from the anchor.
    const auto edge = [scale](double origin, int units, double anchor, bool low) {
        const double at = toFixedPrecision(origin + pango_units_to_double(units) * scale);
        return static_cast<std::int32_t>((low ? std::floor(at) : std::ceil(at)) - anchor);
    };
    const std::array<std::int32_t, 4> ink{
        edge(originX, found->ink.x, anchorX, true), edge(originY, found->ink.y, anchorY, true),
        edge(originX, found->ink.x + found->ink.width, anchorX, false),
        edge(originY, found->ink.y + found->ink.height, anchorY, false)};

    // Text near the edge of what is drawn on (the surface, a view's frame) is left to the
    // layout; the rectangle's own clip the picture is rendered under.
    if (anchorX + ink[0] - kInkMargin < outer.left || anchorY + ink[1] - kInkMargin < outer.top ||
        anchorX + ink[2] + kInkMargin > outer.right ||
        anchorY + ink[3] + kInkMargin > outer.bottom) {
        return false;
    }
    double clipLeft = rect.origin.x, clipTop = rect.origin.y;
    double clipRight = rect.origin.x + rect.size.width;
    double clipBottom = rect.origin.y + rect.size.height;
    Sprite::toDevicePixels(cr, clipLeft, clipTop);
    Sprite::toDevicePixels(cr, clipRight, clipBottom);
    // From the anchor in 1/256 pixel; what lies beyond the ink's margin cuts nothing.
    const auto clipEdge = [](double at, double anchor, std::int32_t low, std::int32_t high) {
        const double fixed = std::nearbyint((at - anchor) * 256);
        return static_cast<std::int32_t>(std::clamp(fixed, low * 256.0, high * 256.0));
    };
    const std::array<std::int32_t, 4> clip{
        clipEdge(clipLeft, anchorX, ink[0] - kInkMargin, ink[2] + kInkMargin),
        clipEdge(clipTop, anchorY, ink[1] - kInkMargin, ink[3] + kInkMargin),
        clipEdge(clipRight, anchorX, ink[0] - kInkMargin, ink[2] + kInkMargin),
        clipEdge(clipBottom, anchorY, ink[1] - kInkMargin, ink[3] + kInkMargin)};

    // Which pixel each glyph lands on, how its ink is cut and what the clip leaves of it
    // decide the picture.
    std::uint32_t roundingX = 0, roundingY = 0;
    for (const auto& [gx, gy] : found->glyphs) {
        roundingX = (roundingX << 2) | rounding(phaseX, pango_units_to_double(gx) * scale);
        roundingY = (roundingY << 2) | rounding(phaseY, pango_units_to_double(gy) * scale);
    }
    const SpriteKey key{std::string(text), pointSize, scale, attributes.foregroundColor,
                        roundingX,         roundingY, ink,   clip};
    const Sprite* sprite = sprites_.find(key);
    if (!sprite) sprite = &sprites_.insert(key, render(text, pointSize, key, phaseX, phaseY));
    sprite->paint(cr, static_cast<long>(anchorX), static_cast<long>(anchorY), outer);
    return true;
}

void TextSprites::prepare(std::span<const double> pointSizes) {
    // Loading the first font starts fontconfig (its configuration and cache of every face);
    // each new size makes Pango sort the faces that may serve it; rendering the characters
    // loads the faces they fall back to and their glyphs.
    if (!started_) {
        started_ = true;
        layOut(kHintCharacters, kStartSize);
        PangoRectangle logical;
        pango_layout_get_extents(layout_, nullptr, &logical);
    }
    for (const double pointSize : pointSizes) {
        if (!(pointSize > 0) || std::find(preparedSizes_.begin(), preparedSizes_.end(),
                                          pointSize) != preparedSizes_.end()) {
            continue;
        }
        preparedSizes_.push_back(pointSize);
        layOut(kHintCharacters, pointSize);
        for (const double scale : {1.0, 2.0}) {
            cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
            cairo_surface_set_device_scale(surface, scale, scale);
            cairo_t* cr = cairo_create(surface);
            cairo_set_source_rgba(cr, 0, 0, 0, 1);
            cairo_move_to(cr, 0, 0);
            pango_cairo_show_layout(cr, layout_);
            cairo_destroy(cr);
            cairo_surface_destroy(surface);
        }
    }
}

}  // namespace vantor::platform
