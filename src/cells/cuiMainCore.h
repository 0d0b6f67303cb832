#pragma once

#include "cells/cuiCommands.h"
#include "cells/cuiDocument.h"
#include "cells/cuiViews.h"

// The roles of the main controller that a cell's behaviour may use, handed to it in its call
// record: the document, the views and the commands. The session provides the document and the
// commands, the desktop program's controller the views; nothing is reached through a global.
struct cuiMainCore {
    cuiDocument& document;
    cuiViews& views;
    cuiCommands& commands;
};
