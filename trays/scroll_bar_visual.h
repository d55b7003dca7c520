#pragma once
// The slider of a tool tray's modifier list: a scroll bar drawn from a track
// and a thumb picture whose thumb can be hidden and shown with animations.
#include "engine/picture_collection.h"
#include "engine/scroll_bar.h"

class MMAnimationMolecule;
class MMBaseScene;

class KVXScrollBarVisual : public MMScrollBarVisual {
public:
    using MMScrollBarVisual::MMScrollBarVisual;
    // A bar laid along its track picture at position; a thumb taller than
    // the track makes the box reach half the thumb beyond each end. Either
    // animation may be MM_NO_RESOURCE.
    KVXScrollBarVisual(MMBaseScene* scene, const Pair& position, MMPictureID thumb,
                       MMPictureID track, MMResourceId showAnimation,
                       MMResourceId hideAnimation, int32_t orientation);
    ~KVXScrollBarVisual() override;

    void SetBox(const Box& box) override;
    // 3 on the thumb, else 0; 0 while the thumb is hidden.
    int32_t FindPart(int32_t x, int32_t y) const override;
    bool ContainsPoint(int32_t x, int32_t y) override { return FindPart(x, y) != 0; }
    void Draw(MMSurface* surface) override;
    void DrawFirstButton(MMSurface*, const Box&, bool) override {}
    void DrawTrack(MMSurface*, const Box&, const Box&, bool) override {}
    void DrawSecondButton(MMSurface*, const Box&, bool) override {}

    // True hides the thumb (playing its hide animation), false shows it
    // again; nothing when it is already so.
    virtual void SetThumbHidden(bool hidden);

    bool ThumbShown() const { return thumbShown; }
    MMPictureID ThumbId() const { return thumb.Id(); }
    MMPictureID TrackId() const { return track.Id(); }
    bool Animating() const { return showing != nullptr || hiding != nullptr; }

private:
    void StartAnimation(MMResourceId script, MMAnimationMolecule*& slot, const char* doneName);
    void AnimationDone();

    MMPictureReference thumb;
    MMPictureReference track;
    MMResourceId showAnimation = MM_NO_RESOURCE;
    MMResourceId hideAnimation = MM_NO_RESOURCE;
    MMBaseScene* scene = nullptr;
    bool thumbShown = true;
    MMAnimationMolecule* showing = nullptr;
    MMAnimationMolecule* hiding = nullptr;
};
