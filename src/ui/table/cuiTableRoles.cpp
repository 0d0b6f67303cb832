#include "ui/table/cuiTableRoles.h"

void cuiTableViews::OpenChoiceList(const cmcCellCapsule& opener, int itemLabel, int currentValue,
                                   cmcGTex&, const std::string& listKey) {
    choice_ = std::make_unique<ChoiceRequest>();
    choice_->opener = opener;
    choice_->itemLabel = itemLabel;
    choice_->currentValue = currentValue;
    choice_->listKey = listKey;
}

void cuiTableViews::OpenBitEditor(const cmcCellCapsule&, cmcGTex&, uint32_t, int, int, int, int,
                                  const std::string&) {
    bitEditor_ = true;
}

void cuiTableViews::Forget() {
    choice_.reset();
    bitEditor_ = false;
}
