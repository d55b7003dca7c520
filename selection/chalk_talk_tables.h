#pragma once
// The chalk talk's table keys and the layers of its pieces.
#include <cstdint>
#include <vector>

#include "engine/record_table.h"
#include "media/color.h"

namespace chalk_talk {
inline constexpr int16_t kSceneTable = 1271;
inline constexpr int16_t kSceneTableTag = 25;
inline constexpr int16_t kDecorationLayer = 90;
inline constexpr int16_t kCanvasLayer = 100;
inline constexpr int16_t kButtonLayer = 110;
inline constexpr int16_t kLightLayer = 120;
inline constexpr int16_t kTeacherLayer = 150;
inline constexpr int16_t kIntroLayer = 175;
inline constexpr int16_t kRewardLayer = 180;
inline constexpr int16_t kLessonKeyButton = 0;
inline constexpr int16_t kLessonKeyPreview = 1;
inline constexpr int16_t kLessonKeySteps = 2;
inline constexpr int16_t kLessonKeyLoops = 3;
inline constexpr int16_t kLessonKeySound = 4;
inline constexpr int16_t kLessonKeyMusic = 5;
inline constexpr int16_t kStepPicturesKey = 6;
inline constexpr int16_t kDelayFirstLessonKey = 23;
inline constexpr int16_t kDelayNextStepKey = 24;
inline const MMColor kBoardGreen = {-1, 15, 47, 16, 0};

// A colour row: red, green and blue in its first three 16-bit values.
uint32_t ColourOfRow(const MMRecordTable& table, int32_t row);
// The items of the 2-byte-row list that a row names.
std::vector<MMResourceId> ItemList(const MMRecordTable& table, int32_t row);
// One of them at random, -1 for none.
MMResourceId PickOne(const std::vector<MMResourceId>& ids);
}  // namespace chalk_talk
