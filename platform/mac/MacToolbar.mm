#import "platform/mac/MacToolbar.h"

#import <AppKit/AppKit.h>

#import "platform/mac/MacActionRelay.h"
#include "platform/mac/MacConversions.h"

// The toolbar's delegate: the layout's items, in order, all of them selectable or none.
@interface VantorToolbarDelegate : NSObject <NSToolbarDelegate>
- (instancetype)initWithItems:(NSArray<NSToolbarItem*>*)items
                   selectable:(BOOL)selectable NS_DESIGNATED_INITIALIZER;
- (instancetype)init NS_UNAVAILABLE;
@end

@implementation VantorToolbarDelegate {
    NSArray<NSToolbarItem*>* _items;
    NSArray<NSString*>* _identifiers;
    BOOL _selectable;
}

- (instancetype)initWithItems:(NSArray<NSToolbarItem*>*)items selectable:(BOOL)selectable {
    self = [super init];
    if (self) {
        _items = [items copy];
        NSMutableArray<NSString*>* identifiers = [NSMutableArray array];
        for (NSToolbarItem* item in items)
            [identifiers addObject:item.itemIdentifier];
        _identifiers = [identifiers copy];
        _selectable = selectable;
    }
    return self;
}

- (NSToolbarItem*)toolbar:(NSToolbar*)toolbar
        itemForItemIdentifier:(NSString*)itemIdentifier
    willBeInsertedIntoToolbar:(BOOL)flag {
    (void)toolbar;
    (void)flag;
    for (NSToolbarItem* item in _items) {
        if ([item.itemIdentifier isEqualToString:itemIdentifier]) return item;
    }
    return nil;
}

- (NSArray<NSString*>*)toolbarDefaultItemIdentifiers:(NSToolbar*)toolbar {
    (void)toolbar;
    return _identifiers;
}

- (NSArray<NSString*>*)toolbarAllowedItemIdentifiers:(NSToolbar*)toolbar {
    (void)toolbar;
    return _identifiers;
}

- (NSArray<NSString*>*)toolbarSelectableItemIdentifiers:(NSToolbar*)toolbar {
    (void)toolbar;
    return _selectable ? _identifiers : @[];
}

@end

namespace vantor::mac {

MacToolbarItem::MacToolbarItem(const platform::LayoutToolbarItem& layout, const std::string& action,
                               platform::Window& window, platform::ActionTarget* target)
    : identifier_(layout.identifier),
      action_(action),
      window_(window),
      item_([[NSToolbarItem alloc] initWithItemIdentifier:nsString(layout.identifier)]) {
    item_.label = nsString(layout.label);
    if (!action_.empty() && target) {
        relay_ = [[VantorActionRelay alloc] initWithTarget:target action:action_ sender:this];
        item_.target = relay_;
        item_.action = @selector(relay:);
    }
}

MacToolbarItem::~MacToolbarItem() {
    item_.target = nil;
    item_.action = nullptr;
}

std::int64_t MacToolbarItem::tag() const {
    return item_.tag;
}

bool MacToolbarItem::isEnabled() const {
    return item_.enabled;
}

void MacToolbarItem::setEnabled(bool enabled) {
    item_.enabled = enabled;
}

std::string MacToolbarItem::stringValue() const {
    return stdString(item_.label);
}

void MacToolbarItem::setStringValue(std::string_view value) {
    item_.label = nsString(value);
}

bool MacToolbarItem::sendAction() {
    if (!relay_ || !item_.enabled) return false;
    return [NSApp sendAction:item_.action to:item_.target from:item_];
}

MacToolbar::MacToolbar(std::string_view name, const platform::LayoutToolbar& layout,
                       platform::Window& window, platform::ActionTarget* target) {
    NSMutableArray<NSToolbarItem*>* items = [NSMutableArray array];
    for (const platform::LayoutToolbarItem& item : layout.items) {
        items_.push_back(std::make_unique<MacToolbarItem>(item, layout.action, window, target));
        [items addObject:items_.back()->nsItem()];
    }
    delegate_ = [[VantorToolbarDelegate alloc] initWithItems:items
                                                  selectable:layout.selectable ? YES : NO];
    toolbar_ = [[NSToolbar alloc] initWithIdentifier:nsString(name)];
    toolbar_.delegate = delegate_;
    toolbar_.allowsUserCustomization = NO;
    // The layout's items have labels and no images.
    toolbar_.displayMode = NSToolbarDisplayModeLabelOnly;
    if (!layout.selected.empty()) toolbar_.selectedItemIdentifier = nsString(layout.selected);
}

MacToolbar::~MacToolbar() {
    toolbar_.delegate = nil;
}

std::string MacToolbar::selectedItemIdentifier() const {
    return stdString(toolbar_.selectedItemIdentifier);
}

void MacToolbar::setSelectedItemIdentifier(std::string_view identifier) {
    toolbar_.selectedItemIdentifier = nsString(identifier);
}

}  // namespace vantor::mac
