#pragma once
// The records of the stage's two input rings: events for dispatch and pen
// samples for the drawing tools.
#include <cstdint>

enum MMStageEventType : int32_t {
    kStageEventPointer = 0,
    kStageEventPointerLeft = 1,
    kStageEventMenuCommand = 2,
    kStageEventKey = 3,
};

// Flags word of a pointer event.
enum : uint32_t {
    kPointerHeld = 0x01,
    kPointerPressed = 0x02,
    kPointerReleased = 0x04,
    kPointerRightHeld = 0x10,
    kPointerShift = 0x20,
    kPointerControl = 0x40,
    kPointerDoubleClick = 0x80,
    // What stays of the current event when it is dispatched again in a step
    // without input: press, release and double click are one-shot.
    kPointerRepeatMask = 0x79,
};

struct MMStageEvent {
    int32_t type;
    uint32_t messageTime;
    int32_t stageTime;
    int32_t x;
    int32_t y;
    // Pointer: flags; pointer left: 0; menu: command id; key: key data.
    uint32_t data;

    // Key data: a 16-bit key command, then the two bytes of the character.
    static uint32_t KeyData(uint16_t command, uint8_t charLow, uint8_t charHigh) {
        return command | (uint32_t(charLow) << 16) | (uint32_t(charHigh) << 24);
    }
    uint16_t KeyCommand() const { return uint16_t(data & 0xFFFF); }
    uint8_t CharLow() const { return uint8_t(data >> 16); }
    uint8_t CharHigh() const { return uint8_t(data >> 24); }
};
static_assert(sizeof(MMStageEvent) == 24, "input events are 24 bytes");

struct MMPointerSample {
    int32_t x;
    int32_t y;
    int16_t cursor;    // 1 mouse; else the tablet cursor (2: the stylus's eraser end)
    int16_t pressure;  // 0 to 255
};
static_assert(sizeof(MMPointerSample) == 12, "pen samples are 12 bytes");

enum : int16_t { kMouseCursor = 1, kEraserCursor = 2 };
