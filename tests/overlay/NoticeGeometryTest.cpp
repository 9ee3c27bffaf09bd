#include <gtest/gtest.h>

#include <algorithm>

#include "overlay/NoticeGeometry.h"

namespace vantor {
namespace {

using platform::Rect;

double right(const Rect& r) {
    return r.origin.x + r.size.width;
}
double top(const Rect& r) {
    return r.origin.y + r.size.height;
}

// Whatever the list's width and the text's, the list keeps its place on screen, the strip lies
// inside the overlay under the list, is at least as wide as the list where the room allows, and
// its text fits across at its (possibly smaller) size.
TEST(NoticeGeometry, ListStaysInPlaceAndStripWithItsTextFitsUnderIt) {
    struct Case {
        double listWidth;
        double textWidth;
    };
    for (const Case c : {Case{160, 600}, Case{736, 600}, Case{1888, 600}, Case{304, 2000},
                         Case{1888, 3000}, Case{160, 0}}) {
        SCOPED_TRACE(testing::Message() << c.listWidth << " " << c.textWidth);
        const Rect list{{(1920 - c.listWidth) / 2, 460}, {c.listWidth, 160}};
        const OverlayPlacement p = overlayPlacement(list, true);
        EXPECT_DOUBLE_EQ(p.windowFrame.origin.x + p.listInView.origin.x, list.origin.x);
        EXPECT_DOUBLE_EQ(p.windowFrame.origin.y + p.listInView.origin.y, list.origin.y);
        EXPECT_EQ(p.listInView.size, list.size);
        EXPECT_DOUBLE_EQ(top(p.listInView), p.windowFrame.size.height);
        EXPECT_GE(p.windowFrame.size.width, kNoticeRoomWidth);

        const double viewWidth = p.windowFrame.size.width;
        const NoticeGeometry g = noticeGeometry(p.listInView, viewWidth, c.textWidth);
        EXPECT_GE(g.stripBox.origin.x, 0);
        EXPECT_LE(right(g.stripBox), viewWidth);
        EXPECT_GE(g.stripBox.origin.y, 0);
        EXPECT_DOUBLE_EQ(top(g.stripBox) + kNoticeGap, p.listInView.origin.y);
        EXPECT_GE(g.stripBox.size.width, std::min(c.listWidth, viewWidth));
        EXPECT_LE(g.fontSize, kNoticeFontSize);
        EXPECT_LE(c.textWidth * g.fontSize / kNoticeFontSize, g.textBox.size.width + 1e-9);
        EXPECT_GE(g.textBox.origin.x, g.stripBox.origin.x);
        EXPECT_LE(right(g.textBox), right(g.stripBox));
        if (c.textWidth + 2 * kNoticeHeight <= viewWidth) {
            EXPECT_EQ(g.fontSize, kNoticeFontSize);
        }
    }
}

TEST(NoticeGeometry, WithoutANoticeTheOverlayIsExactlyTheList) {
    const Rect list{{664, 460}, {592, 160}};
    const OverlayPlacement p = overlayPlacement(list, false);
    EXPECT_EQ(p.windowFrame, list);
    EXPECT_EQ(p.listInView, (Rect{{0, 0}, list.size}));
}

}  // namespace
}  // namespace vantor
