#pragma once
// Visuals that show one referenced picture, optionally mirrored, hit only
// where the picture is (nearly) opaque; buttons add a highlight picture.
#include <cstdint>
#include "engine/picture_collection.h"
#include "media/visual.h"

class MMPictureBasedVisual : public MMVisual {
public:
    MMPictureBasedVisual();
    MMPictureBasedVisual(const MMPictureReference& picture, bool mirrorHorizontally,
                         bool mirrorVertically);

    bool ContainsPoint(int32_t x, int32_t y) override;
    void Draw(MMSurface* surface) override;
    virtual void SetPicture(const MMPictureReference& reference);
    virtual const MMPictureReference& GetPicture() const;
    virtual bool IsOpaque() const;

    void SetMirror(bool horizontally, bool vertically);
    bool MirrorsHorizontally() const { return mirrorHorizontally != 0; }
    bool MirrorsVertically() const { return mirrorVertically != 0; }

    void SetHitTransparency(int32_t value) { hitTransparency = value; }
    int32_t HitTransparency() const { return hitTransparency; }
    // What new visuals take; 0 until changed (only fully opaque pixels hit).
    static void SetDefaultHitTransparency(int32_t value);
    static int32_t DefaultHitTransparency();

protected:
    MMPictureReference picture;
    uint8_t mirrorHorizontally = 0;
    uint8_t mirrorVertically = 0;
    int32_t hitTransparency;
};

class MMPictureVisual : public MMPictureBasedVisual {
public:
    MMPictureVisual() = default;

    void ConstructAt(int32_t x, int32_t y, int16_t layer);
    void ConstructWithPicture(const MMPictureReference& picture, int16_t layer);
    void ConstructWithPictureAt(const MMPictureReference& picture, int32_t x, int32_t y,
                                int16_t layer, bool mirrorHorizontally, bool mirrorVertically);

    Box GetBounds() const override;
    Box GetOpaqueBox() const override;
    void SetPosition(int32_t newX, int32_t newY) override;
    Pair GetPosition() const override;

protected:
    int32_t x = 0;
    int32_t y = 0;
};

class MMHighlightable {
public:
    virtual ~MMHighlightable() = default;
    virtual bool IsHighlighted() = 0;
    virtual void SetHighlighted(bool flag) = 0;

protected:
    uint8_t highlighted = 0;
};

class MMMouseInterpreter;

class MMPictureButtonVisual : public MMPictureVisual, public MMHighlightable {
public:
    struct Parameters {
        MMPictureReference normal;
        MMPictureReference highlight;
        Pair position;
        MMMouseInterpreter* interpreter;
        int16_t layer;
    };

    MMPictureButtonVisual() = default;
    MMPictureButtonVisual(int32_t x, int32_t y, MMMouseInterpreter* interpreter, int16_t layer);
    ~MMPictureButtonVisual() override;

    void ConstructWithPictures(const Parameters& parameters);
    void SetNormalPicture(const MMPictureReference& reference);
    void SetHighlightPicture(const MMPictureReference& reference);
    bool IsHighlighted() override;
    void SetHighlighted(bool flag) override;

    const MMPictureReference& NormalPicture() const { return normalPicture; }
    const MMPictureReference& HighlightPicture() const { return highlightPicture; }

private:
    MMPictureReference normalPicture;
    MMPictureReference highlightPicture;
};
