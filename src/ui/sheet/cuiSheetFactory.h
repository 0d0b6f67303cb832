#pragma once

#include <memory>
#include <string>

class QWidget;
class cmcGTex;
class cuiImageList;
struct cuiMainCore;
class cuiSheet;

// A sheet reference as the tree's nodes name their sheets: an optional kind in square brackets,
// the base name, and after a comma an extra text ("[St_Common]GI_Sheet_Common",
// "GI_Sheet_UserCh").
struct cuiSheetReference {
    std::string kind;
    std::string base;
    std::string extra;

    static cuiSheetReference Parse(const std::string& reference);
};

// The sheet factory: an iuiSh_Common for the kind "St_Common", a plain cuiSheet otherwise, on
// the parent, with the dictionary and the image list, no owner capsule and no initial target;
// the whole reference and the extra text are stored in it. Not built yet: the caller may set
// the cursor memory and then calls Build.
std::unique_ptr<cuiSheet> cuiCreateSheet(const cuiMainCore& core, QWidget* parent,
                                         const std::string& reference, cmcGTex& dictionary,
                                         const cuiImageList* images);
