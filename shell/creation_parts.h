#pragma once
// Small pieces of the painting screen: layout rows that place pictures, and
// the calls into the tool manager and the stamp manager, which the screen
// makes whether or not they have come to it yet.
#include <cstdint>

#include "engine/picture_collection.h"
#include "engine/record_table.h"

class KVXBaseStampManager;
class KVXManagerTool;
class KVXPaletteTarget;
class KVXStampsBlock;
class WinMMOffscreenSurface;

// The position and picture of row rowIndex of the 8-byte table that the
// layout row keyed key names; false without one.
bool CreationPlacedPicture(const MMRecordTable& layout, int16_t key, int32_t rowIndex,
                           Pair& position, MMPictureID& picture);
Pair CreationPictureSize(MMPictureID picture);

// The tool manager (none: nothing is taken, nothing happens).
void CreationToolManagerBegin(KVXManagerTool* manager);
void CreationToolManagerEnd(KVXManagerTool* manager);
bool CreationToolManagerKey(KVXManagerTool* manager, uint32_t keyData);
bool CreationToolManagerMenu(KVXManagerTool* manager, int32_t id);
// Tells the current tray to finish (true) or prepare (false) its work.
void CreationToolManagerFinish(KVXManagerTool* manager, bool finish);
void CreationToolManagerTextureChanged(KVXManagerTool* manager);
// Covers (true) or uncovers the text tray's live text box.
void CreationCoverTextBox(KVXManagerTool* manager, bool cover);
// Where Control-click on the canvas sends a picked colour (none without trays).
KVXPaletteTarget* CreationPaletteTarget(KVXManagerTool* manager);
bool CreationRopeTrayIsCurrent(KVXManagerTool* manager);
// Puts the rope's floating selection down into the canvas; the tray stays.
void CreationPutDownRopeSelection(KVXManagerTool* manager);
// Whether the tray of that type is open.
bool CreationTrayIsCurrent(KVXManagerTool* manager, int32_t type);
// Makes the picture the rope's floating selection (tray 9); false when
// there is no rope to take it.
bool CreationTakeAsSelection(KVXManagerTool* manager, WinMMOffscreenSurface* surface);

// The stamp manager (none: no stamps, nothing taken).
void CreationStampManagerBegin(KVXBaseStampManager* manager);
void CreationStampManagerEnd(KVXBaseStampManager* manager);
bool CreationStampManagerKey(KVXBaseStampManager* manager, uint32_t keyData);
bool CreationStampManagerMenu(KVXBaseStampManager* manager, int32_t id);
void CreationRemoveAllStamps(KVXBaseStampManager* manager);
bool CreationHasStamps(KVXBaseStampManager* manager);
int32_t CreationAnimatedStampCount(KVXBaseStampManager* manager);
void CreationHideAllStamps(KVXBaseStampManager* manager);
void CreationNotifyAllStamps(KVXBaseStampManager* manager);
void CreationPlayStamps(KVXBaseStampManager* manager);
void CreationStopStamps(KVXBaseStampManager* manager);
// Every stamp glued into the picture, in colour or as black-and-white line art.
void CreationGlueAllStamps(KVXBaseStampManager* manager, bool colour);
void CreationGlueFlaggedStamps(KVXBaseStampManager* manager);
void CreationPrepareStamps(KVXBaseStampManager* manager);
void CreationGlueLastAnimatedStamp(KVXBaseStampManager* manager);
// The stamps as a page's stamps block holds them, both ways; false when
// a stamp did not come through (the others do).
bool CreationStampsToBlock(KVXBaseStampManager* manager, KVXStampsBlock& block);
bool CreationStampsFromBlock(KVXBaseStampManager* manager, const KVXStampsBlock& block);
