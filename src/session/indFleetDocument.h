#pragma once

#include "cells/cuiDocument.h"
#include "memory/cmcEeprom.h"
#include "memory/datClipCh.h"

// The open document's texts, modes and template over an image of a fleet radio: the copy a radio
// gets is made and checked on it, so that nothing of a fleet run reaches the working image. Edits
// change only the copy; there is no undo, no modified mark and no delayed check.
class indFleetDocument : public cuiDocument {
public:
    // base: the open document (not owned); image: the radio's copy; radio: what the radio held.
    indFleetDocument(cuiDocument& base, cmcEeprom& image, cmcEeprom& radio)
        : base_(base), image_(image), radio_(radio) {}

    cmcEeprom& WorkingImage() override { return image_; }
    cmcEeprom& TemplateImage() override { return base_.TemplateImage(); }
    // The radio's memory stands where the saved image would: what a write changes.
    cmcEeprom& SavedImage() override { return radio_; }
    cmcEeprom& ReferenceImage() override { return base_.ReferenceImage(); }
    bool ExpertMode() const override { return base_.ExpertMode(); }
    bool GeneralCoverageMode() const override { return base_.GeneralCoverageMode(); }
    datClipCh& Clipboard() override { return clipboard_; }
    cmcGTex& Dictionary() override { return base_.Dictionary(); }
    cmcFCache& SectionCache() override { return base_.SectionCache(); }
    void ScheduleWarningCheck() override {}
    bool CheckModified() override { return true; }
    const uint8_t* CloneInfo() const override { return base_.CloneInfo(); }

private:
    cuiDocument& base_;
    cmcEeprom& image_;
    cmcEeprom& radio_;
    datClipCh clipboard_;
};
