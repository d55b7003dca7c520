#include "text/text_edits.h"

#include <new>

#include "engine/stage.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"

void MakeColor3(uint8_t red, uint8_t green, uint8_t blue, uint8_t record[3])
{
    record[0] = blue;
    record[1] = green;
    record[2] = red;
}

MPTextEdit::MPTextEdit(const Parameters& parameters) : MMTextEditMolecule(parameters)
{
    MMStage* stage = Stage();
    if (stage && stage->SoundManager())
        channel = new (std::nothrow) MMGenericSoundChannel(stage->SoundManager());
}

MPTextEdit::~MPTextEdit() { delete channel; }

bool MPTextEdit::HandleKey(uint32_t keyData)
{
    if (channel) {
        MMSoundReference none;
        none.Load(-1);
        channel->Play(none, false);
    }
    return MMTextEditMolecule::HandleKey(keyData);
}

MPCenteredTextEdit::MPCenteredTextEdit(const Parameters& parameters, const Pair& centre)
    : MPTextEdit(parameters), centre(centre)
{
    TextChanged();
}

void MPCenteredTextEdit::TextChanged()
{
    MMTEditTextVisual* text = TextVisual();
    Pair at = text->GetPosition();
    int32_t width = text->CaretPosition().x - at.x;
    text->Invalidate();
    text->SetPosition(centre.x - width / 2, at.y);
    text->Invalidate();
    Pair caret = text->CaretPosition();
    CaretVisual()->SetPosition(caret.x, caret.y);
}
