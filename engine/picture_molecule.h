#pragma once
// Molecules over picture visuals: a picture button with its push-button
// interpreter, and a plain picture.
#include <cstdint>

#include "engine/molecule.h"
#include "engine/picture_collection.h"

class MMPictureButtonVisual;
class MMPictureVisual;
class MMPushButtonInterpreter;

class MMPictureButtonMolecule : public MMMolecule {
public:
    MMPictureButtonMolecule(MMBaseScene* scene, const Pair& position, MMPictureID firstPicture,
                            MMPictureID secondPicture, MMCommand* command, int16_t layer,
                            MMCursor* cursor, MMPushButtonInterpreter* interpreter = nullptr);
    MMPictureButtonMolecule(MMBaseScene* scene, MMPictureButtonVisual* visual, MMCommand* command,
                            MMCursor* cursor, MMPushButtonInterpreter* interpreter = nullptr);
    ~MMPictureButtonMolecule() override;

    void Show() override;
    void Hide() override;
    MMPictureButtonVisual* Visual() const { return visual_; }
    MMPushButtonInterpreter* Interpreter() const { return interpreter_; }

private:
    void Attach(MMCommand* command, MMCursor* cursor, MMPushButtonInterpreter* interpreter,
                int16_t layer);

    MMPictureButtonVisual* visual_;
    MMPushButtonInterpreter* interpreter_ = nullptr;
};

class MMPictureMolecule : public MMMolecule {
public:
    MMPictureMolecule(MMBaseScene* scene, MMPictureVisual* visual, int16_t layer);
    MMPictureMolecule(MMBaseScene* scene, const MMPictureReference& picture, const Pair& position,
                      int16_t layer, bool mirrorHorizontally = false,
                      bool mirrorVertically = false);
    MMPictureMolecule(MMBaseScene* scene, MMPictureID picture, const Pair& position,
                      int16_t layer, bool mirrorHorizontally = false,
                      bool mirrorVertically = false);
    ~MMPictureMolecule() override;

    void Show() override;
    void Hide() override;
    MMPictureVisual* Visual() const { return visual_; }

private:
    void Join(int16_t layer);

    MMPictureVisual* visual_;
};
