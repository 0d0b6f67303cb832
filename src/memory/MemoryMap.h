#pragma once

// Every address of the T590 memory image that the program names, with its length, in one place.
// Addresses are offsets into a memory image (cmcEeprom). Multi-byte integers are little-endian.
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

// Expansion settings (expert only): bit 4 cross-channel operation, bit 7 ITU channels, bits 2
// and 3 frequency programming. Bits 6, 5, 1 and 0 are kept equal to the template.
constexpr int kExpansion = 0x0271;
constexpr int kExpansionCrossChBit = 4;
constexpr int kExpansionItuChBit = 7;
constexpr int kExpansionFreqProgHighBit = 2;
constexpr int kExpansionFreqProgLowBit = 3;
constexpr int kExpansionTemplateMask = 0x63;  // bits 6, 5, 1, 0

// DSC mask (list index).
constexpr int kDscMask = 0x0272;
// A byte the normalisation keeps equal to the template.
constexpr int kTemplateByte0273 = 0x0273;

// The radio's comment text, printable ASCII.
constexpr int kComment = 0x027B;
constexpr int kCommentLength = 16;

// Channel tables. User channel e (1..160) sits at kUserChannels + 17 e; the 17 bytes at
// kUserChannels itself are "user channel 0", which the normalisation keeps equal to the template.
constexpr int kUserChannels = 0x028B;
constexpr int kUserChannelSize = 17;
constexpr int kUserChannelCount = 160;  // entries 1..160
constexpr int kItuChannels = 0x0D3C;
constexpr int kItuChannelSize = 17;
constexpr int kItuChannelCount = 72;  // entries 0..71
constexpr int kItuChannelsPerBand = 9;
constexpr int kEMailChannels = 0x1204;
constexpr int kEMailChannelSize = 18;
constexpr int kEMailChannelCount = 160;  // entries 0..159

// Offsets inside a user, ITU or e-mail channel record.
constexpr int kChRxFreq = 0;
constexpr int kChTxFreq = 4;
constexpr int kChMode = 8;    // user and ITU channels
constexpr int kChFilter = 8;  // e-mail channels
constexpr int kChComment = 9;
constexpr int kChCommentLength = 8;
constexpr int kEMailBlankBits = 17;  // bit 7 receive blank, bit 6 transmit blank
constexpr int kEMailRxBlankBit = 7;
constexpr int kEMailTxBlankBit = 6;

// Blank bit tables of user and ITU channels: bit b is bit (b mod 8) of byte (b div 8). User
// channel e uses bit e - 1, ITU channel e uses bit kItuBlankBitBase + e.
constexpr int kRxBlankTable = 0x1D44;
constexpr int kTxBlankTable = 0x1D61;
constexpr int kBlankTableLength = 29;
constexpr int kItuBlankBitBase = 160;

// Common settings, one byte each.
constexpr int kNbLevel = 0x1D7E;
constexpr int kBacklight = 0x1D7F;
constexpr int kContrast = 0x1D80;
constexpr int kSquelchLevel = 0x1D81;
constexpr int kTxMeter = 0x1D82;
constexpr int kMaxUserChannel = 0x1D83;  // also the last index of the user channel table
constexpr int kSitorChannel = 0x1D84;
constexpr int kAntennaTuner = 0x1D85;
constexpr int kAtTunerUse = 0x1D86;
constexpr int kScanType = 0x1D87;
constexpr int kScanSpeed = 0x1D88;
constexpr int kIndicationType = 0x1D89;
constexpr int kFskTone = 0x1D8A;
constexpr int kFskShift = 0x1D8B;
constexpr int kFskPolarity = 0x1D8C;
constexpr int kCwBreakIn = 0x1D8D;
constexpr int kMicKey = 0x1D8E;
constexpr int kMicFunction = 0x1D8F;
constexpr int kVoiceSquelch = 0x1D90;
constexpr int kNmeaId = 0x1D91;
constexpr int kNmeaInterface = 0x1D92;
constexpr int kJ2bFilter = 0x1D93;
constexpr int kF1bFilter = 0x1D94;
constexpr int kRemoteMode = 0x1D95;
constexpr int kGpsDisplay = 0x1D96;
constexpr int kTimeOffset = 0x1D97;
// Mode-enable bytes, one per mode 0..5 (0 = not available); also the use value of the mode
// registration of that mode. The byte of mode 1 is kept equal to the template.
constexpr int kModeEnable = 0x1D98;
constexpr int kModeCount = 6;
constexpr int kModeSel2182 = 0x1D9E;
constexpr int k2182Mode = 0x1D9F;
constexpr int kItuDirection = 0x1DA0;
constexpr int kTxPowerSel = 0x1DA1;
constexpr int kNonVexaTuner = 0x1DA2;
constexpr int kAtTunerType = 0x1DA3;
constexpr int kAlarmTimer = 0x1DA4;
constexpr int kSel2182Alarm = 0x1DA5;
constexpr int kScanEnable = 0x1DA6;
constexpr int kScanReference = 0x1DA7;  // tenths of the value shown
constexpr int kCompressor = 0x1DA8;
constexpr int kCommentDisplay = 0x1DA9;
constexpr int kTxByPtt = 0x1DAA;
constexpr int kTxByAcc = 0x1DAB;
constexpr int kTenKey = 0x1DAC;
constexpr int kRfGain = 0x1DAD;
// A byte the normalisation keeps equal to the template.
constexpr int kTemplateByte1DB1 = 0x1DB1;

// Band edges: 8 bytes each, low edge then high edge (signed Hz, -1 = unset).
constexpr int kRxEdge = 0x1DB2;
constexpr int kItuEdges = 0x1DBA;
constexpr int kItuEdgeCount = 8;
constexpr int kTxEdges = 0x1DFA;
constexpr int kTxEdgeCount = 11;
constexpr int kEdgeSize = 8;
constexpr int kEdgeLow = 0;
constexpr int kEdgeHigh = 4;

// Mode registration indications, 3 characters per mode 0..5.
constexpr int kModeIndications = 0x1E52;
constexpr int kModeIndicationLength = 3;

// DSC item tables: one 16-bit word per table (or column), bit e = item e enabled.
constexpr int kCallSelSecondWord = 0x1E64;  // set together with the first: value 2
constexpr int kCallSelFirstWord = 0x1E66;   // set alone: value 1
constexpr int kCategoryAllWord = 0x1E68;
constexpr int kCategoryGrpWord = 0x1E6A;
constexpr int kCategoryIndWord = 0x1E6C;
constexpr int kCategoryPosWord = 0x1E6E;
constexpr int kFirstTelecommandWord = 0x1E70;
constexpr int kReasonWord = 0x1E72;
constexpr int kNatureWord = 0x1E74;
constexpr int kItemBitCount = 16;

// ITU channel selection for DSC (list index).
constexpr int kDscItuChannel = 0x1E76;
// A 16-bit word the normalisation keeps equal to the template.
constexpr int kTemplateWord1E77 = 0x1E77;
// DSC scan on/off, one bit per scanned item.
constexpr int kDscScanOn = 0x1E79;

// DSC identities (address book), entries 0..99.
constexpr int kDscIds = 0x1E7B;
constexpr int kDscIdSize = 22;
constexpr int kDscIdCount = 100;
constexpr int kDscIdAttribute = 0;  // 0xFF = entry not in use
constexpr int kDscIdIdentity = 1;
constexpr int kDscIdName = 6;
constexpr int kDscIdRxFreq = 16;
constexpr int kDscIdTxFreq = 19;

// DSC receive/transmit pairs, entries 0..49.
constexpr int kDscPairs = 0x2713;
constexpr int kDscPairSize = 16;
constexpr int kDscPairCount = 50;
constexpr int kDscPairName = 0;
constexpr int kDscPairRxFreq = 10;
constexpr int kDscPairTxFreq = 13;
// The radio's numbering of the pairs (1-50, 51-100, 101-106, 255 = none).
constexpr int kDscPairNumbers = 0x2A33;

// Lengths of the DSC record fields.
constexpr int kDscNameLength = 10;
constexpr int kDscFreqLength = 3;  // base-100 digits of 100 Hz steps
constexpr int kIdentityLength = 5;
constexpr int kIdentityDigits = 9;

// Blocks the normalisation keeps equal to the template.
constexpr int kTemplateBlock2A65 = 0x2A65;
constexpr int kTemplateBlock2A65Length = 230;
constexpr int kTemplateBlock2B4B = 0x2B4B;
constexpr int kTemplateBlock2B4BLength = 1046;  // up to 0x2F60

// The radio's own DSC identity, its check byte (complement of the 8-bit sum of the identity
// bytes) and the byte after it.
constexpr int kOwnIdentity = 0x2F61;
constexpr int kOwnIdentityCheck = 0x2F66;
constexpr int kOwnIdentityTail = 0x2F67;
constexpr int kOwnIdentityBlockLength = 7;  // 0x2F61..0x2F67

constexpr int kTemplateBlock2F68 = 0x2F68;
constexpr int kTemplateBlock2F68Length = 23;  // up to 0x2F7E

// The maker text the model check compares with kMakerTextValue.
constexpr int kMakerText = 0x2F87;
constexpr int kMakerTextLength = 8;
constexpr char kMakerTextValue[] = "VEXA Inc";

// Use value of each DSC pair (0 none, 1, 2, 3). Beyond the clone range: it lives only in the
// program's image and is derived from the pair numbers on load.
constexpr int kDscPairUse = 0x2F90;
constexpr int kDscPairUseLast = kDscPairUse + kDscPairCount - 1;  // 0x2FC1

// The end of everything the map names; an image must be at least this large.
constexpr int kMapEnd = kDscPairUseLast + 1;  // 12226 bytes

// The memory debug window searches for differences up to this address.
constexpr int kDebugSearchLast = 0x2FFF;

static_assert(kComment + kCommentLength == kUserChannels, "comment ends where channels start");
static_assert(kUserChannels + kUserChannelSize * (kUserChannelCount + 1) == kItuChannels,
              "user channels 0..160 end where ITU channels start");
static_assert(kRxBlankTable + kBlankTableLength == kTxBlankTable, "blank tables are adjacent");
static_assert(kItuBlankBitBase + kItuChannelCount <= kBlankTableLength * 8,
              "ITU blank bits fit the table");
static_assert(kTemplateBlock2B4B + kTemplateBlock2B4BLength == kOwnIdentity, "0x2B4B..0x2F60");
static_assert(kTemplateBlock2F68 + kTemplateBlock2F68Length == 0x2F7F, "0x2F68..0x2F7E");
static_assert(kMakerText + kMakerTextLength - 1 <= kCloneLast, "maker text lies in the range");
static_assert(kDscPairUse > kCloneLast, "pair use values lie beyond the clone range");
static_assert(kMapEnd == 12226, "the self check's minimum image size");
static_assert(kMapEnd <= kImageSize, "the map fits the image");

}  // namespace MemoryMap
