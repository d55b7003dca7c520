#include "widget_fixture.h"

#include "engine/enclosure.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_loader.h"
#include "sound_fixture.h"

TestPicture SolidPicture(int16_t width, int16_t height, uint8_t blue)
{
    TestPicture picture;
    picture.width = width;
    picture.height = height;
    picture.bits = 32;
    picture.pixels.assign(size_t(picture.Pitch()) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.pixels[size_t(y) * picture.Pitch() + 4 * x] = blue;
    picture.bitmap.bitsPerPixel = 32;
    picture.bitmap.bytesPerPixel = 4;
    picture.bitmap.pixelKind = kPixelBGRA;
    picture.bitmap.transparencyKind = kTransparencyOpaque;
    picture.bitmap.box = Box{0, 0, width, height};
    picture.bitmap.pitch = picture.Pitch();
    return picture;
}

bool OpenSolidPictures(const FSDirectory& folder, const char* name,
                       std::vector<TestPicture> pictures)
{
    for (TestPicture& p : pictures)
        p.bitmap.pixels = p.pixels.data();
    return WritePictureFile(folder, name, pictures, {}) &&
           MMOpenPictureFile(folder, name, false) != nullptr;
}

bool OpenTones(const FSDirectory& folder, const char* name, int count)
{
    std::vector<TestSound> sounds(count);
    for (TestSound& sound : sounds)
        sound.samples = Tone(440, 2205, false);
    return WriteSoundFile(folder, name, sounds, kTestSounds) &&
           CreateSoundLoader(name, folder, false) != nullptr;
}

void WidgetTest::TearDown()
{
    scene.DeleteMolecules();
    DeleteAllPictureCollections();
    DeleteAllSoundCollections();
}

bool WidgetTest::Pointer(int32_t x, int32_t y, uint32_t flags)
{
    MMStageEvent event = {kStageEventPointer, 0, 0, x, y, flags};
    stage.DispatchMouseEvent(event);
    stage.RunDueTasks();
    return stage.Captured();
}

std::string WidgetTest::Ran()
{
    std::string text;
    for (const std::string& line : log)
        text += (text.empty() ? "" : " ") + line;
    log.clear();
    return text;
}
