// Where the Dock's switcher list and its icons sit: one row of icons, 128 points square with
// 16 points of padding, centred both ways on a screen, shrunk to fit its width.
#pragma once

#include <cstddef>
#include <optional>

#include "platform/Geometry.h"

namespace vantor::sim {

// For n icons on a screen W x H at the origin (Accessibility coordinates, whole points):
//   icon  s = 128, or when n*128 + (n+1)*16 > W - 64: s = max(1, floor((W - 64 - (n+1)*16) / n))
//   list  width w = n*s + (n+1)*16, height h = s + 32 (160 for full-size icons),
//         origin (floor((W - w) / 2), floor((H - h) / 2))
//   icon i (from 0) at (list.x + 16 + i*(s + 16), list.y + 16), size s x s.
struct SwitcherLayout {
    static constexpr double kIconSize = 128;
    static constexpr double kPadding = 16;
    static constexpr double kScreenMargin = 64;

    platform::Rect list;
    double icon = kIconSize;
    std::size_t count = 0;

    static SwitcherLayout compute(std::size_t count, platform::Size screen);
    platform::Rect iconFrame(std::size_t index) const;
    // The icon under a point (icons cover [x, x + s) x [y, y + s)); none on the padding.
    std::optional<std::size_t> iconAt(platform::Point point) const;
    bool contains(platform::Point point) const;
};

}  // namespace vantor::sim
