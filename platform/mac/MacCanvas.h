// The canvas of a view's drawRect: on macOS: AppKit's drawing calls on the current
// NSGraphicsContext, in the view's own coordinates (origin bottom-left, y up), text in the
// system font.
#pragma once

#include <string_view>

#include "platform/Canvas.h"

namespace vantor::mac {

class MacCanvas final : public platform::Canvas {
public:
    void setFill(const platform::Color& color) override;
    void setStroke(const platform::Color& color) override;
    void fillRectUsingOperation(const platform::Rect& rect,
                                platform::CompositingOperation operation) override;
    void fill(const platform::RoundedRectPath& path) override;
    void stroke(const platform::RoundedRectPath& path) override;
    platform::Size sizeWithAttributes(std::string_view text,
                                      const platform::TextAttributes& attributes) override;
    void drawInRect(std::string_view text, const platform::Rect& rect,
                    const platform::TextAttributes& attributes) override;
};

}  // namespace vantor::mac
