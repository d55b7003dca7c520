#include "trays/modifier_buttons.h"

#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/scene.h"
#include "media/bitmap.h"
#include "media/bitmap_picture_collection.h"

namespace {

// The program's own pictures, made while it runs.
const uint16_t kRuntimePictures = 9;

}  // namespace

MMBitmapPictureCollection* TrayPictureCollection()
{
    return dynamic_cast<MMBitmapPictureCollection*>(
        MMFindPictureCollection(MMMakeResourceId(kRuntimePictures, 0)));
}

MMPictureReference BindTrayPicture(const MMBitmap& bitmap)
{
    MMPictureReference reference;
    MMBitmapPictureCollection* pictures = TrayPictureCollection();
    if (pictures == nullptr || !bitmap.IsValid())
        return reference;
    int16_t slot = pictures->FreeSlot();
    if (slot >= 0)
        pictures->BindPicture(reference, slot, bitmap, nullptr);
    return reference;
}

KVXModifierButtonVisual::KVXModifierButtonVisual(const Pair& position,
                                                 const MMPictureReference& normal,
                                                 const MMPictureReference& highlight,
                                                 int16_t layer)
    : normalPicture(normal), highlightPicture(highlight)
{
    ConstructWithPictureAt(normal, position.x, position.y, layer, false, false);
}

void KVXModifierButtonVisual::SetHighlighted(bool flag)
{
    if (flag == (highlighted != 0))
        return;
    highlighted = flag ? 1 : 0;
    const MMPictureReference& shown = flag ? highlightPicture : normalPicture;
    if (!MMSamePicture(shown, picture))
        SetPicture(shown);
    Invalidate();
}

void KVXModifierButtonVisual::SetNormalPicture(const MMPictureReference& reference)
{
    normalPicture = reference;
    if (!highlighted)
        SetPicture(normalPicture);
}

void KVXModifierButtonVisual::SetHighlightPicture(const MMPictureReference& reference)
{
    highlightPicture = reference;
    if (highlighted)
        SetPicture(highlightPicture);
}

KVXModifierButtonInterpreter::KVXModifierButtonInterpreter(MMStage* stage, MMCommand* command,
                                                           MMVisual* visual, MMCursor* cursor)
    : MMStandardMouseInterpreter(stage, command, cursor), visual(visual)
{
}

bool KVXModifierButtonInterpreter::Inside(const MMStageEvent& event) const
{
    return visual != nullptr && visual->GetBounds().Contains(Pair{event.x, event.y});
}

bool KVXModifierButtonInterpreter::Interpret(const MMStageEvent& event)
{
    if (((event.data & kPointerPressed) && Matches(event) && Inside(event)) ||
        (pressed && (event.data & kPointerHeld))) {
        pressed = true;
        return true;
    }
    if (pressed && (event.data & kPointerReleased) && Inside(event))
        PostCommand();
    pressed = false;
    return false;
}

void KVXModifierButtonInterpreter::CaptureLost()
{
    if (pressed)
        MMSetHighlighted(MMAsHighlightable(visual), false);
    pressed = false;
}

KVXModifierButtonMolecule::KVXModifierButtonMolecule(MMBaseScene* scene, const Pair& position,
                                                     MMPictureID normal, MMPictureID highlight,
                                                     MMCommand* command, int16_t layer,
                                                     MMCursor* cursor,
                                                     MMStandardMouseInterpreter* given)
    : MMMolecule(scene),
      visual(new KVXModifierButtonVisual(position, MMLoadedPicture(normal),
                                         MMLoadedPicture(highlight), layer)),
      interpreter(given)
{
    if (interpreter == nullptr)
        interpreter = new KVXModifierButtonInterpreter(Stage(), command, visual, cursor);
    else if (command != nullptr)
        interpreter->SetCommand(command);
    visual->SetMouseInterpreter(interpreter);
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->AddVisual(visual);
}

KVXModifierButtonMolecule::~KVXModifierButtonMolecule()
{
    interpreter->ReleaseCapture();
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->RemoveVisual(visual);
    delete visual;
    delete interpreter;
}

void KVXModifierButtonMolecule::Show()
{
    hidden_ = false;
    visual->SetHidden(false);
}

void KVXModifierButtonMolecule::Hide()
{
    interpreter->ReleaseCapture();
    hidden_ = true;
    visual->SetHidden(true);
}

KVXBaseModifiersObject::KVXBaseModifiersObject(MMBaseScene* scene, int16_t toolIndex,
                                               const Pair& position, MMPictureID normal,
                                               MMPictureID highlight, MMCommand* command,
                                               int16_t layer, MMCursor* cursor,
                                               MMStandardMouseInterpreter* interpreter)
    : KVXModifierButtonMolecule(scene, position, normal, highlight, command, layer, cursor,
                                interpreter),
      toolIndex(toolIndex)
{
}

KVXModifiersPictureObject::KVXModifiersPictureObject(MMBaseScene* scene, int16_t toolIndex,
                                                     const Pair& position, MMPictureID a,
                                                     MMPictureID b, MMCommand* command,
                                                     int16_t layer, MMCursor* cursor,
                                                     MMStandardMouseInterpreter* interpreter)
    : KVXBaseModifiersObject(scene, toolIndex, position, a, a, command, layer, cursor,
                             interpreter),
      pictureA(MMLoadedPicture(a)), pictureB(MMLoadedPicture(b))
{
}

void KVXModifiersPictureObject::SetPictures(const MMPictureReference& a,
                                            const MMPictureReference& b)
{
    pictureA = a;
    pictureB = b;
    visual->SetNormalPicture(a);
    visual->SetHighlightPicture(a);
}

void KVXModifiersPictureObject::Select()
{
    visual->SetNormalPicture(pictureB);
    visual->SetHighlightPicture(pictureB);
    visual->Invalidate();
}

void KVXModifiersPictureObject::Deselect()
{
    visual->SetNormalPicture(pictureA);
    visual->SetHighlightPicture(pictureA);
    visual->Invalidate();
}

KVXModifierBitmapObject::KVXModifierBitmapObject(MMBaseScene* scene, int16_t toolIndex,
                                                 const Pair& position, const MMBitmap& a,
                                                 const MMBitmap& b, MMCommand* command,
                                                 int16_t layer, MMCursor* cursor,
                                                 MMStandardMouseInterpreter* interpreter)
    : KVXModifiersPictureObject(scene, toolIndex, position, MM_NO_RESOURCE, MM_NO_RESOURCE,
                                command, layer, cursor, interpreter)
{
    SetPictures(BindTrayPicture(a), BindTrayPicture(b));
}

KVXModifierBitmapObject::~KVXModifierBitmapObject()
{
    MMPictureReference none;
    visual->SetNormalPicture(none);
    visual->SetHighlightPicture(none);
    pictureA.Clear();
    pictureB.Clear();
}
