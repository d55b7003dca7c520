#include "stamps/stamp_frames.h"

#include "engine/animation_thread.h"
#include "engine/record_table.h"

namespace {

using Script = MMScriptedAnimationContext;

int16_t Opcode(const MMRecordTable& script, int32_t row)
{
    return script.ShortAt(row, 0);
}

}  // namespace

int32_t CountStampFrames(const MMRecordTable& script)
{
    return script.CountRows(0, 0, Script::kOpFrame);
}

bool StampFrameAt(const MMRecordTable& script, int32_t step, KVXStampFrame* frame)
{
    int32_t frames = CountStampFrames(script);
    if (frames <= 0)
        return false;
    int32_t index = ((step % frames) + frames) % frames;
    int32_t row = script.FindRow(0, 0, index, Script::kOpFrame);
    if (row < 0)
        return false;
    KVXStampFrame found;
    for (++row; row < script.RowCount() && Opcode(script, row) != Script::kOpFrame; ++row) {
        if (Opcode(script, row) == Script::kOpPlaceVisual)
            found.at = script.PairAt(row, 6);
        else if (Opcode(script, row) == Script::kOpSetPicture)
            found.picture = script.LongAt(row, 2);
    }
    if (found.picture == -1)
        return false;
    *frame = found;
    return true;
}

Box StampFrameBox(const KVXStampFrame& frame, const Pair& pictureSize, const Pair& stampSize,
                  bool mirroredX, bool mirroredY)
{
    int32_t left = mirroredX ? stampSize.x - frame.at.x - pictureSize.x : frame.at.x;
    int32_t top = mirroredY ? stampSize.y - frame.at.y - pictureSize.y : frame.at.y;
    return {left, top, left + pictureSize.x, top + pictureSize.y};
}
