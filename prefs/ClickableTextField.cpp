#include "prefs/ClickableTextField.h"

namespace vantor {

void ClickableTextField::awakeFromNib(platform::View& field) {
    field.setBehaviour(this);
    makeUnderlined(field);
}

bool ClickableTextField::mouseUp(platform::View& field) {
    if (field.isEnabled()) field.sendAction();
    return true;
}

void ClickableTextField::resetCursorRects(platform::View& field) {
    field.addCursorRect({{0, 0}, field.frame().size}, platform::Cursor::PointingHand);
}

}  // namespace vantor
