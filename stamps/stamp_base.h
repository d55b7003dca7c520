#pragma once
// A stamp on the painting screen: a picture taken from the drawer that floats
// above the canvas, tinted, until it is glued into the paint or removed. It
// can be dragged, scaled, mirrored and played; the selected one carries the
// selector's frame and handles.
#include <cstdint>

#include "engine/picture_molecule.h"
#include "engine/stage_event.h"
#include "stamps/stamp_handles.h"

class KVXBaseStampManager;
class KVXStampSelector;
class MMAnimationMolecule;
class MMCommand;
class MMRecordTable;
class MMStandardMouseInterpreter;

// A picture molecule of the paint program.
class KVXPictureMolecule : public MMPictureMolecule {
public:
    using MMPictureMolecule::MMPictureMolecule;
};

struct KVXStampValues {
    int16_t depth = 0;
    int32_t kind = 0;
    MMPictureID bwPicture = -1;
    MMPictureID colourPicture = -1;
    MMResourceId animationTable = -1;
};

// The values of a drawer stamp's table: depth at key 0, kind, line art and
// colour at keys 1 to 3, the animation table at key 4 (none: -1).
KVXStampValues StampValuesFromTable(const MMRecordTable& table);

class KVXStampBase : public KVXPictureMolecule {
public:
    // The visual is owned from here on; it shows its picture at position.
    KVXStampBase(MMBaseScene* scene, KVXBaseStampManager* manager, const KVXStampValues& values,
                 MMPictureVisual* visual);
    ~KVXStampBase() override;

    virtual int32_t Kind() const = 0;
    virtual void ShowPlaced(bool keepSize);
    virtual Pair GetSize() const;
    virtual void SetSize(int32_t w, int32_t h);
    virtual Box GetBox() const;
    virtual void SetBox(const Box& box);
    virtual bool CanFlipX() const { return true; }
    virtual bool CanFlipY() const { return true; }
    virtual bool CanScale() const { return true; }
    virtual bool IsPlaced() const { return true; }
    virtual bool IsAnimated() const { return animation != nullptr; }
    virtual Pair HandlePositionAt(KVXHandleCorner corner, const Pair& handleSize) const;
    virtual void TintColour(bool selected, uint8_t bgr[3]) const;
    virtual double TintFactor(bool selected) const { return selected ? 0.0 : 0.5; }
    virtual void Select(KVXStampSelector* selector);
    virtual void Deselect();
    virtual void SetDepth(int16_t d);
    virtual void Replay();
    virtual void Play(bool withStopCommand);
    virtual MMAnimationMolecule* MakeAnimation();
    virtual void AnimationEnded();
    virtual void StopAndRestore();
    virtual void StopAnimation(bool show);
    virtual void DeleteAnimation();
    virtual void BeginMove();
    virtual void MoveTo(int32_t x, int32_t y);
    virtual void PlaceCentredAt(int32_t x, int32_t y);
    virtual void EndMove();
    virtual void FlipX();
    virtual void FlipY();
    virtual void BeginScale(const Pair& point);
    virtual void DragScale(const Pair& point);
    virtual void EndScale(const Pair& point);
    virtual Pair ColourPictureSize() const;
    virtual Pair BWPictureSize() const;
    // The picture to glue: a new picture of the displayed size (colour or
    // line art), or the stored picture for the layer stamps.
    virtual MMPictureID RenderColour();
    virtual MMPictureID RenderPlain();

    // The interpretation of its interpreter: drags the stamp, and removes it
    // when it is dropped off the canvas.
    bool HandleMouse(const MMStageEvent& event);

    // The manager's bookkeeping.
    void SetManager(KVXBaseStampManager* value) { manager = value; }
    void SetInterpreter(MMStandardMouseInterpreter* value);
    void SetRemoveCommand(MMCommand* command);
    MMCommand* RemoveCommand() const { return removeCommand; }

    KVXBaseStampManager* Manager() const { return manager; }
    MMStandardMouseInterpreter* Interpreter() const { return interpreter; }
    MMAnimationMolecule* Animation() const { return animation; }
    KVXStampSelector* Selector() const { return selector; }
    MMPictureID Picture() const { return picture; }
    MMPictureID BWPicture() const { return bwPicture; }
    MMPictureID ColourPicture() const { return colourPicture; }
    MMResourceId AnimationTable() const { return animationTable; }
    MMResourceId AnimationScript() const { return animationScript; }
    int16_t Depth() const { return depth; }
    int16_t Genre() const { return genre; }
    void SetGenre(int16_t value) { genre = value; }
    int16_t SizeStep() const { return sizeStep; }
    bool Grouped() const { return grouped; }
    void SetGrouped(bool value) { grouped = value; }
    bool MirroredX() const { return mirroredX; }
    bool MirroredY() const { return mirroredY; }
    bool AnimatedAtSave() const { return animatedAtSave; }
    void SetAnimatedAtSave(bool value) { animatedAtSave = value; }
    bool Dragging() const { return dragging; }
    Pair Grab() const { return {grabDx, grabDy}; }
    // The picture's natural size.
    Pair NaturalSize() const;

protected:
    // The visual shows the tinted look of the picture.
    void ShowTinted(MMPictureID id);
    // A new picture of the displayed size, mirrored into its pixels; -1
    // means the stamp's own picture. Answers the visual's picture.
    MMPictureID RenderPicture(MMPictureID id);
    void RenderLook(bool tinted);
    void ShowPicture(MMPictureID id);
    void ShowPicture(const class MMPictureReference& reference);
    Box CanvasBox() const;
    void PlaceHandles();
    void HideHandles();
    void ShowHandles();
    void AdvanceChangeState();
    void ApplyVisibilityRule(const Pair& point);
    void SetAnimationLayer(int16_t layer);

    KVXBaseStampManager* manager;
    bool animatedAtSave = false;
    bool grouped = false;
    bool mirroredX = false;
    bool mirroredY = false;
    bool dragging = false;
    bool hit = false;
    int32_t grabDx = 0;
    int32_t grabDy = 0;
    MMAnimationMolecule* animation = nullptr;
    MMCommand* removeCommand = nullptr;
    MMPictureID picture;
    int16_t genre = 0;
    int16_t depth;
    int32_t kind;
    MMPictureID bwPicture;
    MMPictureID colourPicture;
    MMResourceId animationTable;
    int16_t sizeStep = 0;
    MMResourceId animationScript = -1;
    KVXStampSelector* selector = nullptr;
    MMStandardMouseInterpreter* interpreter = nullptr;
};

// The animation script of a stamp's size step: the item of the animation
// table's row (2-byte rows); -1 when there is none.
MMResourceId StampAnimationScript(MMResourceId animationTable, int16_t sizeStep);
