// A text field that looks and acts like a link: underlined, and sending its action when
// clicked while enabled.
#pragma once

#include "platform/UI.h"

namespace vantor {

class ClickableTextField : public platform::ViewBehaviour {
public:
    // Takes over the field's clicks and underlines its text.
    void awakeFromNib(platform::View& field);
    // Underlines the whole text.
    static void makeUnderlined(platform::View& field) { field.setUnderlined(true); }
    // An enabled field sends its action to its target; a disabled one does nothing. Either way
    // the click goes no further.
    bool mouseUp(platform::View& field) override;
    // The pointer is a pointing hand over the whole field.
    void resetCursorRects(platform::View& field) override;
};

}  // namespace vantor
