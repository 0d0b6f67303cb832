#include "cells/cmcCellObj.h"

void cmcCellObj::Reset() {
    argText.reset();
    displayText.reset();
    font.reset();
    popupMenuKey.reset();
    label = CL_None;
    imageIndex = -1;
    layout = 0;
    state = 0;
    color = clWindow;
    if (!parent || parent == this)
        return;
    category = parent->category;
    label = parent->label;
    argument = parent->argument;
    argText = parent->argText;
    imageIndex = parent->imageIndex;
    layout = parent->layout;
    state = parent->state;
    color = parent->color;
    displayText = parent->displayText;
}

void cmcCellObj::CopyFrom(const cmcCellObj& other) {
    if (&other == this)
        return;
    parent = other.parent;
    counters = other.counters;
    category = other.category;
    label = other.label;
    argument = other.argument;
    argText = other.argText;
    imageIndex = other.imageIndex;
    layout = other.layout;
    state = other.state;
    color = other.color;
    font = other.font ? std::make_unique<cmcCellFont>(*other.font) : nullptr;
    popupMenuKey = other.popupMenuKey;
    displayText = other.displayText;
}

const std::string& cmcCellObj::GetText() const {
    static const std::string empty;
    return displayText ? *displayText : empty;
}

const std::string* cmcCellObj::PopupMenuKey() const {
    // The chain is short; the bound only guards against a cell made its own ancestor.
    int depth = 0;
    for (const cmcCellObj* c = this; c && depth < 64; c = c->parent, ++depth) {
        if (c->popupMenuKey && !c->popupMenuKey->empty())
            return &*c->popupMenuKey;
    }
    return nullptr;
}
