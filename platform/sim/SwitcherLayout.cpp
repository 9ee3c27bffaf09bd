#include "platform/sim/SwitcherLayout.h"

#include <algorithm>
#include <cmath>

namespace vantor::sim {

SwitcherLayout SwitcherLayout::compute(std::size_t count, platform::Size screen) {
    SwitcherLayout layout;
    layout.count = count;
    const auto n = static_cast<double>(count);
    const double padding = (n + 1) * kPadding;
    const double widest = screen.width - kScreenMargin;
    if (count > 0 && n * kIconSize + padding > widest) {
        layout.icon = std::max(1.0, std::floor((widest - padding) / n));
    }
    const double width = n * layout.icon + padding;
    const double height = layout.icon + 2 * kPadding;
    layout.list = {
        {std::floor((screen.width - width) / 2), std::floor((screen.height - height) / 2)},
        {width, height}};
    return layout;
}

platform::Rect SwitcherLayout::iconFrame(std::size_t index) const {
    const double step = icon + kPadding;
    return {
        {list.origin.x + kPadding + static_cast<double>(index) * step, list.origin.y + kPadding},
        {icon, icon}};
}

bool SwitcherLayout::contains(platform::Point point) const {
    return point.x >= list.origin.x && point.x < list.origin.x + list.size.width &&
           point.y >= list.origin.y && point.y < list.origin.y + list.size.height;
}

std::optional<std::size_t> SwitcherLayout::iconAt(platform::Point point) const {
    const double top = list.origin.y + kPadding;
    if (point.y < top || point.y >= top + icon) return std::nullopt;
    const double along = point.x - list.origin.x - kPadding;
    if (along < 0) return std::nullopt;
    const double step = icon + kPadding;
    const auto index = static_cast<std::size_t>(std::floor(along / step));
    if (index >= count || along - static_cast<double>(index) * step >= icon) return std::nullopt;
    return index;
}

}  // namespace vantor::sim
