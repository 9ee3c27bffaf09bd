// One entry of the system switcher: one application icon, its item title, its frame relative
// to the list and its Accessibility element.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Geometry.h"
#include "platform/Handle.h"

namespace vantor {

class ProcItem {
public:
    // The item keeps a reference of its own to the element for as long as it lives.
    static std::shared_ptr<ProcItem> itemWithTitle(std::string title, const platform::Rect& frame,
                                                   std::int32_t index,
                                                   const platform::AXElement& axElem);

    std::int32_t index() const { return index_; }
    void setIndex(std::int32_t index) { index_ = index; }

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }

    // Relative to the list's lower-left corner, y up.
    const platform::Rect& frame() const { return frame_; }
    void setFrame(const platform::Rect& frame) { frame_ = frame; }

    const platform::AXElement& axElem() const { return axElem_; }
    void setAxElem(const platform::AXElement& axElem) { axElem_ = axElem; }

private:
    std::int32_t index_ = 0;
    std::string title_;
    platform::Rect frame_;
    platform::AXElement axElem_;
};

using ProcItemRef = std::shared_ptr<ProcItem>;

}  // namespace vantor
