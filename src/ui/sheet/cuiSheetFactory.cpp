#include "ui/sheet/cuiSheetFactory.h"

#include "ui/sheet/cuiSheet.h"
#include "ui/sheet/iuiSh_Common.h"

cuiSheetReference cuiSheetReference::Parse(const std::string& reference) {
    cuiSheetReference r;
    const std::size_t comma = reference.find(',');
    const std::string name = reference.substr(0, comma);
    if (comma != std::string::npos)
        r.extra = reference.substr(comma + 1);
    const std::size_t open = name.find('[');
    const std::size_t close = open == std::string::npos ? std::string::npos : name.find(']', open);
    if (close != std::string::npos) {
        r.kind = name.substr(open + 1, close - open - 1);
        r.base = name.substr(close + 1);
    } else {
        r.base = name;
    }
    return r;
}

std::unique_ptr<cuiSheet> cuiCreateSheet(const cuiMainCore& core, QWidget* parent,
                                         const std::string& reference, cmcGTex& dictionary,
                                         const cuiImageList* images) {
    const cuiSheetReference r = cuiSheetReference::Parse(reference);
    std::unique_ptr<cuiSheet> sheet;
    if (r.kind == "St_Common")
        sheet =
            std::make_unique<iuiSh_Common>(core, parent, nullptr, 0, 0, dictionary, r.base, images);
    else
        sheet = std::make_unique<cuiSheet>(core, parent, nullptr, 0, 0, dictionary, r.base, images);
    sheet->SetReference(reference);
    sheet->SetArgText(r.extra);
    return sheet;
}
