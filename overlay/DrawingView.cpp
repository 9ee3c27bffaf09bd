#include "overlay/DrawingView.h"

#include <cstddef>
#include <string>

#include "overlay/LabelGeometry.h"

namespace vantor {

namespace {

// The multiplication sign U+00D7 in UTF-8.
constexpr std::string_view kTimesSign = "\xC3\x97";

bool isUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Number of characters (code points) of a UTF-8 key.
std::size_t characterCount(std::string_view key) {
    std::size_t n = 0;
    for (char c : key) {
        if (!isUtf8Continuation(c)) ++n;
    }
    return n;
}

// The key's first character, with all its bytes.
std::string_view firstCharacter(std::string_view key) {
    std::size_t end = key.empty() ? 0 : 1;
    while (end < key.size() && isUtf8Continuation(key[end]))
        ++end;
    return key.substr(0, end);
}

}  // namespace

void DrawingView::awakeFromNib() {
    setFgColor({1.0, 1.0, 1.0, 0.95});
    setSecondFgColor({1.0, 1.0, 1.0, 0.75});
    setBgColor({0.1, 0.1, 0.1, 0.75});
    setBorderColor({1.0, 1.0, 1.0, 0.8});
}

void DrawingView::drawRect(platform::Canvas& canvas, const platform::Rect& dirtyRect) {
    // Labels of an earlier draw must not remain: replace, don't blend.
    canvas.set(platform::Color::clearColor());
    canvas.fillRectUsingOperation(dirtyRect, platform::CompositingOperation::Copy);
    if (!notice_.empty()) drawNotice(canvas);
    if (!items_) return;
    const platform::Point list = placement_.listInView.origin;
    for (const auto& [key, item] : *items_) {
        if (!item) continue;
        platform::Rect frame = item->frame();
        frame.origin.x += list.x;
        frame.origin.y += list.y;
        drawLabel(canvas, key, frame);
    }
}

void DrawingView::drawNotice(platform::Canvas& canvas) const {
    platform::TextAttributes text{platform::Font::systemFontOfSize(kNoticeFontSize), fgColor_,
                                  platform::TextAlignment::Center};
    const double fullWidth = canvas.sizeWithAttributes(notice_, text).width;
    const NoticeGeometry g =
        noticeGeometry(placement_.listInView, placement_.windowFrame.size.width, fullWidth);

    canvas.setFill(bgColor_);
    canvas.setStroke(borderColor_);
    const platform::RoundedRectPath box{g.stripBox, g.cornerRadius, g.cornerRadius, g.lineWidth};
    canvas.fill(box);
    canvas.stroke(box);

    text.font = platform::Font::systemFontOfSize(g.fontSize);
    const double th = canvas.sizeWithAttributes(notice_, text).height;
    canvas.drawInRect(notice_, textRectCentredIn(g.textBox, th), text);
}

void DrawingView::drawLabel(platform::Canvas& canvas, std::string_view key,
                            const platform::Rect& itemFrame) const {
    const std::size_t n = characterCount(key);
    if (n == 0) return;
    const LabelGeometry g = labelGeometry(itemFrame, n);

    canvas.setFill(bgColor_);
    canvas.setStroke(borderColor_);
    const platform::RoundedRectPath box{g.labelBox, g.cornerRadius, g.cornerRadius, g.lineWidth};
    canvas.fill(box);
    canvas.stroke(box);

    const std::string_view letter = firstCharacter(key);
    const platform::TextAttributes letterAttributes{
        platform::Font::systemFontOfSize(g.letterFontSize), fgColor_,
        platform::TextAlignment::Center};
    const double th = canvas.sizeWithAttributes(letter, letterAttributes).height;
    canvas.drawInRect(letter, textRectCentredIn(g.letterBox, th), letterAttributes);

    if (g.countBox) {
        const std::string count = std::string(kTimesSign) + std::to_string(n);
        const platform::TextAttributes countAttributes{
            platform::Font::systemFontOfSize(g.countFontSize), secondFgColor_,
            platform::TextAlignment::Right};
        const double bh = canvas.sizeWithAttributes(count, countAttributes).height;
        canvas.drawInRect(count, textRectCentredIn(*g.countBox, bh), countAttributes);
    }
}

}  // namespace vantor
