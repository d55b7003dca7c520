#include "engine/picture_molecule.h"

#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/mouse_interpreter.h"
#include "media/picture_visual.h"

MMPictureButtonMolecule::MMPictureButtonMolecule(MMBaseScene* scene, const Pair& position,
                                                 MMPictureID firstPicture,
                                                 MMPictureID secondPicture, MMCommand* command,
                                                 int16_t layer, MMCursor* cursor,
                                                 MMPushButtonInterpreter* interpreter)
    : MMMolecule(scene), visual_(new MMPictureButtonVisual)
{
    MMPictureButtonVisual::Parameters parameters = {
        MMLoadedPicture(firstPicture), MMLoadedPicture(secondPicture), position, nullptr, layer};
    visual_->ConstructWithPictures(parameters);
    Attach(command, cursor, interpreter, layer);
}

MMPictureButtonMolecule::MMPictureButtonMolecule(MMBaseScene* scene, MMPictureButtonVisual* visual,
                                                 MMCommand* command, MMCursor* cursor,
                                                 MMPushButtonInterpreter* interpreter)
    : MMMolecule(scene), visual_(visual)
{
    Attach(command, cursor, interpreter, visual->Layer());
}

void MMPictureButtonMolecule::Attach(MMCommand* command, MMCursor* cursor,
                                     MMPushButtonInterpreter* interpreter, int16_t layer)
{
    // A ready interpreter brings its own command: the one handed over with
    // it is not used, and the molecule was given it to own.
    if (interpreter && command != interpreter->Command())
        delete command;
    interpreter_ = interpreter ? interpreter : new MMPushButtonInterpreter(Stage(), command,
                                                                           nullptr, nullptr,
                                                                           cursor);
    interpreter_->SetButton(visual_, visual_);
    visual_->SetLayer(layer);
    visual_->SetMouseInterpreter(interpreter_);
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->AddVisual(visual_);
}

MMPictureButtonMolecule::~MMPictureButtonMolecule()
{
    interpreter_->ReleaseCapture();
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->RemoveVisual(visual_);
    delete visual_;
    delete interpreter_;
}

void MMPictureButtonMolecule::Show()
{
    visual_->SetHidden(false);
    hidden_ = false;
}

void MMPictureButtonMolecule::Hide()
{
    interpreter_->ReleaseCapture();
    visual_->SetHidden(true);
    hidden_ = true;
}

MMPictureMolecule::MMPictureMolecule(MMBaseScene* scene, MMPictureVisual* visual, int16_t layer)
    : MMMolecule(scene), visual_(visual)
{
    Join(layer);
}

MMPictureMolecule::MMPictureMolecule(MMBaseScene* scene, const MMPictureReference& picture,
                                     const Pair& position, int16_t layer, bool mirrorHorizontally,
                                     bool mirrorVertically)
    : MMMolecule(scene), visual_(new MMPictureVisual)
{
    visual_->ConstructWithPictureAt(picture, position.x, position.y, layer, mirrorHorizontally,
                                    mirrorVertically);
    Join(layer);
}

MMPictureMolecule::MMPictureMolecule(MMBaseScene* scene, MMPictureID picture, const Pair& position,
                                     int16_t layer, bool mirrorHorizontally,
                                     bool mirrorVertically)
    : MMPictureMolecule(scene, MMLoadedPicture(picture), position, layer, mirrorHorizontally,
                        mirrorVertically)
{
}

void MMPictureMolecule::Join(int16_t layer)
{
    visual_->SetLayer(layer);
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->AddVisual(visual_);
}

MMPictureMolecule::~MMPictureMolecule()
{
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->RemoveVisual(visual_);
    delete visual_;
}

void MMPictureMolecule::Show()
{
    hidden_ = false;
    visual_->SetHidden(false);
}

void MMPictureMolecule::Hide()
{
    hidden_ = true;
    visual_->SetHidden(true);
}
