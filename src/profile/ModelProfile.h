#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "memory/MemoryMap.h"

class cmcEeprom;
class cmcGTex;
struct cuiMainCore;

// The T590's identification values and the model checks on images: plain functions that the
// main controller's overrides, the clone hooks and the command-line tool share.
namespace ModelProfile {

constexpr char kResourceModel[] = "PQT590";
constexpr int kModelCode = 0x2429;
constexpr int kExtraCode = 1;
constexpr int kMapRevision = MemoryMap::kMapRevisionValue;

// 0 accepts, 1 rejects: the map revision byte must be 7, and when strict (images read from a
// radio) the maker text must be "VEXA Inc". An image too small to hold those bytes is rejected.
int CheckImage(const cmcEeprom& image, bool strict);

// The second image check (a newer layout); this model accepts every image.
int CheckImageContents(const cmcEeprom& image);

// The command-line modes: "/expert" makes the expert-only settings editable, "/gene" (general
// coverage) widens the transmit frequency check. Arguments are compared whole, in any case; the
// mark text names the modes that are on, in the order given, for the status bar.
struct CommandLineModes {
    bool expert = false;
    bool generalCoverage = false;
    std::string markText;
};
constexpr char kExpertMarkKey[] = "GI_StatusPanel_Expert";
constexpr char kGeneralCoverageMark[] = "[ GENE ]";
CommandLineModes ReadCommandLine(const std::vector<std::string>& arguments, cmcGTex& dictionary);

// Keeps the protected areas of an image equal to the template before the image is used (an
// image just loaded, forWriting false) or leaves the program (forWriting true): copies the
// template's maker text, fixed tables and settings the program does not edit, erases user
// channels above the maximum channel number that carry errors, merges the records' blank
// sides with the template's when writing, blanks unprintable characters of record texts,
// repairs the own DSC identity's check byte and converts between the radio's DSC pair numbers
// and the program's pair use values. The template is not changed. Images smaller than the memory
// map are left alone. Marks are evaluated with the document's modes.
void NormalizeImage(const cuiMainCore& core, cmcEeprom& image, const cmcEeprom& templ,
                    bool forWriting);

// The DSC pair numbering both ways. The radio numbers the 50 pairs (1-50 for use 1, 51-100 for
// use 2, 101-106 for use 3, 255 none); the program keeps a use value per pair beyond the clone
// range.
constexpr int kNoPairNumber = 255;
void NumberDscPairs(uint8_t* image);        // use values -> numbers, before writing
void DscPairUsesOfNumbers(uint8_t* image);  // numbers -> use values, after loading

// What the warning check found: the sheet references (argument texts) of the checks of
// "GI_WarningCheckList" that raised an error, and of those that raised only a notice. marksTree
// is set when the list held a check with a sheet reference: the tree's marks are then redrawn
// from the two lists.
struct WarningLists {
    std::vector<std::string> errors;
    std::vector<std::string> notices;
    bool marksTree = false;
};
constexpr char kWarningCheckListKey[] = "GI_WarningCheckList";
// Evaluates every check of the list (from the document's dictionary) on its working image.
WarningLists RunWarningCheck(const cuiMainCore& core);

}  // namespace ModelProfile
