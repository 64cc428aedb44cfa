#include "tag_table.h"

namespace tagloom {
namespace {

const TagTableEntry kTagTable[] = {
    {0, doNothing, "tagEnd"},
    {1, doNothing, "tagShowFrame"},
    {2, decodeDefineShape, "tagDefineShape"},
    {3, doNothing, "tagFreeCharacter"},
    {4, doNothing, "tagPlaceObject"},
    {5, decodeRemoveObject, "tagRemoveObject"},
    {6, decodeDefineBits, "tagDefineBits"},
    {7, doNothing, "tagDefineButton"},
    {8, decodeJPEGTables, "tagJPEGTables"},
    {9, decodeSetBackgroundColor, "tagSetBackgroundColor"},
    {10, decodeDefineFont, "tagDefineFont"},
    {11, decodeDefineText, "tagDefineText"},
    {12, decodeDoAction, "tagDoAction"},
    {13, doNothing, "tagDefineFontInfo"},
    {14, decodeDefineSound, "tagDefineSound"},
    {15, decodeStartSound, "tagStartSound"},
    {17, doNothing, "tagDefineButtonSound"},
    {18, decodeSoundStreamHead, "tagSoundStreamHead"},
    {19, doNothing, "tagSoundStreamBlock"},
    {20, decodeDefineBitsLossless, "tagDefineBitsLossless"},
    {21, decodeDefineBitsJPEG2, "tagDefineBitsJPEG2"},
    {22, decodeDefineShape2, "tagDefineShape2"},
    {23, doNothing, "tagDefineButtonCxform"},
    {24, doNothing, "tagProtect"},
    {25, doNothing, "tagPathsArePostScript"},
    {26, decodePlaceObject2, "tagPlaceObject2"},
    {28, decodeRemoveObject2, "tagRemoveObject2"},
    {29, doNothing, "tagSyncFrame"},
    {31, doNothing, "tagFreeAll"},
    {32, decodeDefineShape3, "tagDefineShape3"},
    {33, doNothing, "tagDefineText2"},
    {34, decodeDefineButton2, "tagDefineButton2"},
    {35, decodeDefineBitsJPEG3, "tagDefineBitsJPEG3"},
    {36, decodeDefineBitsLossless2, "tagDefineBitsLossless2"},
    {37, doNothing, "tagDefineEditText"},
    {38, doNothing, "tagDefineVideo"},
    {39, decodeDefineSprite, "tagDefineSprite"},
    {40, doNothing, "tagNameCharacter"},
    {41, doNothing, "tagSerialNumber"},
    {42, doNothing, "tagDefineTextFormat"},
    {43, decodeFrameLabel, "tagFrameLabel"},
    {45, decodeSoundStreamHead2, "tagSoundStreamHead2"},
    {46, decodeDefineMorphShape, "tagDefineMorphShape"},
    {47, doNothing, "tagFrameTag"},
    {48, doNothing, "tagDefineFont2"},
    {49, doNothing, "tagGenCommand"},
    {50, doNothing, "tagDefineCommandObj"},
    {51, doNothing, "tagCharacterSet"},
    {52, doNothing, "tagFontRef"},
    {56, decodeExportAssets, "tagExportAssets"},
    {57, doNothing, "tagImportAssets"},
    {58, doNothing, "tagEnableDebugger"},
    {59, doNothing, "tagDoInitAction"},
    {60, doNothing, "stagDefineVideoStream"},
    {61, doNothing, "stagVideoFrame"},
    {62, decodeDefineFontInfo2, "stagDefineFontInfo2"},
    {64, doNothing, "tagEnableDebugger2"},
    {1023, doNothing, "tagDefineBitsPtr"},
};

static_assert(sizeof kTagTable / sizeof kTagTable[0] == 58, "the tag table has 58 rows");

} // namespace

const TagTableEntry* lookupTag(uint32_t code) {
    for (const TagTableEntry& row : kTagTable)
        if (row.code == code) return &row;
    return nullptr;
}

uint32_t doNothing(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }

} // namespace tagloom
