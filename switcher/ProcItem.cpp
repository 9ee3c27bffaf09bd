#include "switcher/ProcItem.h"

namespace vantor {

std::shared_ptr<ProcItem> ProcItem::itemWithTitle(std::string title, const platform::Rect& frame,
                                                  std::int32_t index,
                                                  const platform::AXElement& axElem) {
    auto item = std::make_shared<ProcItem>();
    item->index_ = index;
    item->title_ = std::move(title);
    item->frame_ = frame;
    item->axElem_ = axElem;
    return item;
}

}  // namespace vantor
