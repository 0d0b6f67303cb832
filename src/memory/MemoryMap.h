#pragma once

// Every address of the T590 memory image that the program names, with its length, in one place.
// Addresses are offsets into a memory image (cmcEeprom).
namespace MemoryMap {

// The size the controller gives every image.
constexpr int kImageSize = 0x4000;

// The clone range: what clone read and clone write transfer and a clone file must cover exactly.
constexpr int kCloneFirst = 0x0270;
constexpr int kCloneLast = 0x2F8F;
constexpr int kCloneLength = kCloneLast - kCloneFirst + 1;  // 11552 bytes

// Map revision of the layout; kMapRevisionValue marks an image of this layout.
constexpr int kMapRevision = 0x0270;
constexpr int kMapRevisionValue = 7;

// The radio's comment text, printable ASCII.
constexpr int kComment = 0x027B;
constexpr int kCommentLength = 16;

// The maker text the model check compares with kMakerText.
constexpr int kMakerText = 0x2F87;
constexpr int kMakerTextLength = 8;
constexpr char kMakerTextValue[] = "VEXA Inc";

}  // namespace MemoryMap
