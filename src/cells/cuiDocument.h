#pragma once

#include <cstdint>

class cmcCellCapsule;
class cmcEeprom;
class cmcFCache;
class cmcGTex;
class datClipCh;

// The document as the cell behaviours and row edits see it: the images, the modes, the clipboard,
// the texts, and the two things every edit reports. The session implements it; tests use a
// recording double.
class cuiDocument {
public:
    virtual ~cuiDocument() = default;

    // The working image: the image every sheet shows and edits. Its bytes stay where they are
    // until the image is resized.
    virtual cmcEeprom& WorkingImage() = 0;
    uint8_t* WorkingData();
    // The template (read from the initial clone file; default values), the saved image (the
    // working image at the last New, Open, Save or clone write) and the reference image the
    // memory debug window compares with.
    virtual cmcEeprom& TemplateImage() = 0;
    virtual cmcEeprom& SavedImage() = 0;
    virtual cmcEeprom& ReferenceImage() = 0;

    // Command-line modes: "/expert" and "/gene" (general coverage).
    virtual bool ExpertMode() const = 0;
    virtual bool GeneralCoverageMode() const = 0;

    // The channel clipboard, kept for the life of the program.
    virtual datClipCh& Clipboard() = 0;
    // The program's text dictionary (the main one) and selection-list cache.
    virtual cmcGTex& Dictionary() = 0;
    virtual cmcFCache& SectionCache() = 0;

    // After every edit: (re)starts the delayed warning check (250 ms after the last edit), and
    // marks the image modified when the working image now differs from the saved image; returns
    // the modified flag.
    virtual void ScheduleWarningCheck() = 0;
    virtual bool CheckModified() = 0;
    // Just before CheckModified: the request that made the edit (a typed text, a choice, a bit
    // editor's reply, a key or a row command), so that the document can name the edit's undo
    // step. Nothing by default.
    virtual void DescribeEdit(const cmcCellCapsule& capsule) { (void)capsule; }

    // The first bytes of the radio's information block, as the last clone information command
    // stored them (all zero before one).
    static constexpr int kCloneInfoLength = 24;
    virtual const uint8_t* CloneInfo() const = 0;
};
