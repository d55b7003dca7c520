#pragma once
// The texture button of the painting screen: a small masked preview of the
// current paper texture, and a panel over the whole screen that a click
// anywhere closes. Closing shows the texture and posts the creation scene's
// command, which has the current tray redraw its previews on the new paper.
#include <cstdint>

#include "engine/molecule.h"
#include "engine/resource_collection.h"

class KVXAlphaVisual;
class MMBoxVisual;
class MMCommand;
class MMGenericSoundChannel;
class MMHotSpotInterpreter;
class MMPictureVisual;

class KVXTextureMolecule : public MMMolecule {
public:
    // Takes the command; the texture comes from the settings' "TextureId".
    KVXTextureMolecule(MMBaseScene* scene, MMCommand* command);
    ~KVXTextureMolecule() override;

    void Show() override;
    void Hide() override;
    // The panel goes and the current texture is shown; nothing when closed.
    void Close();
    void Open() {}

    bool IsOpen() const { return open; }
    int16_t TextureIndex() const { return textureIndex; }
    KVXAlphaVisual* Preview() const { return preview; }
    MMBoxVisual* PanelBox() const { return panelBox; }

private:
    void Add(MMVisual* visual);

    bool open = false;
    KVXAlphaVisual* preview;
    MMHotSpotInterpreter* openInterpreter;
    MMBoxVisual* panelBox;
    MMHotSpotInterpreter* closeInterpreter;
    MMPictureVisual* panelPicture;
    MMPictureVisual* panelTop;
    int16_t textureIndex = 0;
    MMGenericSoundChannel* channel;
    MMCommand* command;
    MMResourceId mask = MM_NO_RESOURCE;
};
