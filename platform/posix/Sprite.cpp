#include "platform/posix/Sprite.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace vantor::platform {

Sprite::Sprite(int width, int height, double scale, int offsetX, int offsetY)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      scale_(scale),
      offsetX_(offsetX),
      offsetY_(offsetY) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_);
    cairo_surface_set_device_scale(surface_, scale, scale);
}

Sprite::~Sprite() {
    if (surface_) cairo_surface_destroy(surface_);
}

Sprite::Sprite(Sprite&& other) noexcept
    : surface_(std::exchange(other.surface_, nullptr)),
      width_(other.width_),
      height_(other.height_),
      scale_(other.scale_),
      offsetX_(other.offsetX_),
      offsetY_(other.offsetY_) {}

Sprite& Sprite::operator=(Sprite&& other) noexcept {
    if (this != &other) {
        if (surface_) cairo_surface_destroy(surface_);
        surface_ = std::exchange(other.surface_, nullptr);
        width_ = other.width_;
        height_ = other.height_;
        scale_ = other.scale_;
        offsetX_ = other.offsetX_;
        offsetY_ = other.offsetY_;
    }
    return *this;
}

void Sprite::toDevicePixels(cairo_t* cr, double& x, double& y) {
    // The matrix of the context leaves out the surface's own scale and offset.
    cairo_user_to_device(cr, &x, &y);
    cairo_surface_t* target = cairo_get_target(cr);
    double sx = 1, sy = 1, dx = 0, dy = 0;
    cairo_surface_get_device_scale(target, &sx, &sy);
    cairo_surface_get_device_offset(target, &dx, &dy);
    x = x * sx + dx;
    y = y * sy + dy;
}

bool Sprite::onlyTranslated(cairo_t* cr) {
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    double sx = 1, sy = 1;
    cairo_surface_get_device_scale(cairo_get_target(cr), &sx, &sy);
    return m.xx == 1 && m.yy == 1 && m.xy == 0 && m.yx == 0 && sx == sy;
}

void Sprite::cropToInk() {
    if (!surface_) return;
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    int left = width_, right = -1, top = height_, bottom = -1;
    for (int y = 0; y < height_; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < width_; ++x) {
            if ((row[x] >> 24) == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) {
        *this = Sprite(0, 0, scale_, offsetX_, offsetY_);
        return;
    }
    if (left == 0 && top == 0 && right == width_ - 1 && bottom == height_ - 1) return;
    Sprite cropped(right - left + 1, bottom - top + 1, scale_, offsetX_ + left, offsetY_ + top);
    unsigned char* to = cairo_image_surface_get_data(cropped.surface_);
    const int toStride = cairo_image_surface_get_stride(cropped.surface_);
    for (int y = 0; y < cropped.height_; ++y) {
        std::copy_n(data + (top + y) * stride + left * 4, cropped.width_ * 4, to + y * toStride);
    }
    cairo_surface_mark_dirty(cropped.surface_);
    *this = std::move(cropped);
}

namespace {

// Premultiplied `source` over `destination`, as Pixman computes it: each channel of the
// destination times (255 - source alpha) / 255, rounded, plus the source's, at most 255. Two
// channels at a time, 8 bits apart.
inline std::uint32_t over(std::uint32_t source, std::uint32_t destination) {
    const std::uint32_t alpha = source >> 24;
    if (alpha == 0xFF) return source;
    const std::uint32_t keep = 0xFF - alpha;
    constexpr std::uint32_t kMask = 0x00FF00FF;
    const auto channels = [keep](std::uint32_t d, std::uint32_t s) {
        std::uint32_t t = (d & kMask) * keep + 0x00800080;
        t = ((t + ((t >> 8) & kMask)) >> 8) & kMask;
        t += s & kMask;
        t |= 0x10000100 - ((t >> 8) & kMask);
        return t & kMask;
    };
    return channels(destination, source) | (channels(destination >> 8, source >> 8) << 8);
}

// Four pixels at once, channel by channel in 16 bits, the same arithmetic as over().
using Bytes16 = std::uint8_t __attribute__((vector_size(16)));
using Words16 = std::uint16_t __attribute__((vector_size(32)));

inline void overFour(const std::uint32_t* source, std::uint32_t* destination) {
    Bytes16 s, d;
    std::memcpy(&s, source, sizeof s);
    std::memcpy(&d, destination, sizeof d);
    const Words16 s16 = __builtin_convertvector(s, Words16);
    const Words16 d16 = __builtin_convertvector(d, Words16);
    const Words16 alpha =
        __builtin_shufflevector(s16, s16, 3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15);
    Words16 t = d16 * (0xFF - alpha) + 0x80;
    t = (t + (t >> 8)) >> 8;
    t += s16;
    t = t > 0xFF ? Words16{} + 0xFF : t;
    const Bytes16 out = __builtin_convertvector(t, Bytes16);
    std::memcpy(destination, &out, sizeof out);
}

}  // namespace

void Sprite::paint(cairo_t* cr, long x, long y, const PixelClip& clip) const {
    if (!surface_ || width_ == 0 || height_ == 0) return;
    cairo_surface_t* target = cairo_get_target(cr);
    if (clip.wholePixels && cairo_surface_get_type(target) == CAIRO_SURFACE_TYPE_IMAGE &&
        cairo_image_surface_get_format(target) == CAIRO_FORMAT_ARGB32) {
        const long left = std::max({x + offsetX_, static_cast<long>(clip.left), 0L});
        const long top = std::max({y + offsetY_, static_cast<long>(clip.top), 0L});
        const long right = std::min({x + offsetX_ + width_, static_cast<long>(clip.right),
                                     static_cast<long>(cairo_image_surface_get_width(target))});
        const long bottom = std::min({y + offsetY_ + height_, static_cast<long>(clip.bottom),
                                      static_cast<long>(cairo_image_surface_get_height(target))});
        if (left >= right || top >= bottom) return;
        cairo_surface_flush(target);
        unsigned char* to = cairo_image_surface_get_data(target);
        const int toStride = cairo_image_surface_get_stride(target);
        const unsigned char* from = cairo_image_surface_get_data(surface_);
        const int fromStride = cairo_image_surface_get_stride(surface_);
        for (long row = top; row < bottom; ++row) {
            auto* d = reinterpret_cast<std::uint32_t*>(to + row * toStride);
            const auto* s =
                reinterpret_cast<const std::uint32_t*>(from + (row - y - offsetY_) * fromStride);
            const std::uint32_t* source = s + (left - x - offsetX_);
            long column = left;
            for (; column + 4 <= right; column += 4, source += 4)
                overFour(source, d + column);
            for (; column < right; ++column, ++source) {
                if (*source != 0) d[column] = over(*source, d[column]);
            }
        }
        // Cairo must know the surface is no longer as it left it (cleared, say).
        cairo_surface_mark_dirty_rectangle(target, static_cast<int>(left), static_cast<int>(top),
                                           static_cast<int>(right - left),
                                           static_cast<int>(bottom - top));
        return;
    }
    // In the target's points with no other transformation, whole pixels are whole multiples
    // of 1 / scale, so the picture is copied pixel for pixel, without resampling.
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    cairo_identity_matrix(cr);
    double dx = 0, dy = 0;
    cairo_surface_get_device_offset(target, &dx, &dy);
    cairo_set_source_surface(cr, surface_, (static_cast<double>(x + offsetX_) - dx) / scale_,
                             (static_cast<double>(y + offsetY_) - dy) / scale_);
    cairo_paint(cr);
    cairo_set_matrix(cr, &matrix);
}

}  // namespace vantor::platform
