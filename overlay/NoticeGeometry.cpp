#include "overlay/NoticeGeometry.h"

#include <algorithm>

namespace vantor {

namespace {

// Room on either side of the text inside the strip.
constexpr double kTextMargin = kNoticeHeight / 2;

}  // namespace

OverlayPlacement overlayPlacement(const platform::Rect& listFrame, bool withNotice) {
    if (!withNotice) return {listFrame, {{0, 0}, listFrame.size}};
    const double below = kNoticeGap + kNoticeHeight;
    const double width = std::max(listFrame.size.width, kNoticeRoomWidth);
    const double left = listFrame.origin.x + (listFrame.size.width - width) / 2;
    const platform::Rect window{{left, listFrame.origin.y - below},
                                {width, listFrame.size.height + below}};
    return {window, {{listFrame.origin.x - left, below}, listFrame.size}};
}

NoticeGeometry noticeGeometry(const platform::Rect& listInView, double viewWidth,
                              double textWidth) {
    const double h = kNoticeHeight;
    const double room = std::max(0.0, viewWidth - 2 * kTextMargin);
    const double fontSize =
        textWidth > room && textWidth > 0 ? kNoticeFontSize * room / textWidth : kNoticeFontSize;
    const double w = std::min(
        viewWidth, std::max(listInView.size.width, std::min(textWidth, room) + 2 * kTextMargin));
    const double midX = listInView.origin.x + listInView.size.width / 2;
    const double left = std::clamp(midX - w / 2, 0.0, std::max(0.0, viewWidth - w));
    const double top = listInView.origin.y - kNoticeGap;

    NoticeGeometry g;
    g.stripBox = {{left, top - h}, {w, h}};
    g.cornerRadius = h * 0.25;
    g.lineWidth = h * 0.03125;
    g.textBox = {{left + kTextMargin, top - h}, {w - 2 * kTextMargin, h}};
    g.fontSize = fontSize;
    return g;
}

}  // namespace vantor
