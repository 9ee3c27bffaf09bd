// A node of the simulated Accessibility tree: an application, the switcher list or one of
// its entries. Element references point to nodes; a destroyed node stays readable as dead.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace vantor::sim {

struct AXNode {
    enum class Kind { Application, List, Item };

    Kind kind = Kind::Application;
    std::int32_t pid = 0;                 // the process that owns the element
    std::string role;                     // "AXRole"
    std::optional<std::string> subrole;   // "AXSubrole"
    std::optional<std::string> title;     // "AXTitle"
    std::optional<platform::Rect> frame;  // "AXPosition" and "AXSize", Accessibility coordinates
    std::vector<std::shared_ptr<AXNode>> children;  // "AXChildren"
    std::weak_ptr<AXNode> parent;
    std::weak_ptr<AXNode> selected;  // "AXSelectedChildren" of a list
    bool alive = true;

    // Whether this node is `ancestor` or lies below it.
    bool isWithin(const AXNode& ancestor) const {
        if (this == &ancestor) return true;
        for (std::shared_ptr<AXNode> node = parent.lock(); node; node = node->parent.lock()) {
            if (node.get() == &ancestor) return true;
        }
        return false;
    }
};

}  // namespace vantor::sim
