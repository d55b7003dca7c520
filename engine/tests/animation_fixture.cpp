#include "animation_fixture.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "engine/resource_file_writer.h"
#include "media/bitmap.h"
#include "media/sound/sound_file_writer.h"

ScriptRows& ScriptRows::Row(int16_t opcode, int16_t a, int16_t b, int16_t c, int16_t d)
{
    for (int16_t value : {opcode, a, b, c, d}) {
        uint8_t bytes[2];
        std::memcpy(bytes, &value, 2);
        rows.insert(rows.end(), bytes, bytes + 2);
    }
    return *this;
}

ScriptRows& ScriptRows::Id(int16_t opcode, MMResourceId id)
{
    int16_t halves[2];
    std::memcpy(halves, &id, 4);
    return Row(opcode, halves[0], halves[1]);
}

ScriptRows& ScriptRows::Name(const char* name)
{
    int32_t offset = int32_t(strings.size());
    strings.append(name);
    strings.push_back('\0');
    int16_t halves[2];
    std::memcpy(halves, &offset, 4);
    return Row(0, halves[0], halves[1]);
}

bool WriteScripts(const FSDirectory& folder, const char* name, uint16_t collectionId,
                  const std::vector<ScriptTable>& tables)
{
    MMScriptFile file;
    int16_t count = 0;
    for (const ScriptTable& t : tables)
        count = t.table >= count ? int16_t(t.table + 1) : count;
    if (!file.Create(folder, name, FSFileKind(), count, collectionId) ||
        !file.SetCodePages(int16_t(MM_NO_CODE_PAGE), int16_t(MM_NO_CODE_PAGE)))
        return false;
    for (const ScriptTable& t : tables) {
        if (!MMWriteRecordTable(file, t.table, t.table, t.rows.rows.data(),
                                int32_t(t.rows.rows.size() / 10), 10, t.rows.strings.data(),
                                int32_t(t.rows.strings.size())))
            return false;
    }
    return file.MarkEndOfItems() && file.Close(true);
}

bool WritePictures(const FSDirectory& folder, const char* name, uint16_t collectionId,
                   const std::vector<SolidPicture>& pictures)
{
    MMPictureResourceFile file;
    int16_t count = int16_t(pictures.size());
    if (!file.Create(folder, name, FSFileKind(), count, collectionId))
        return false;
    for (int16_t i = 0; i < count; ++i) {
        const SolidPicture& p = pictures[i];
        std::unique_ptr<MMBitmapWithPixels> bitmap(
            MMBitmap::CreateWithPixels(Box{0, 0, p.width, p.height}, kPixelBGRA, nullptr));
        if (!bitmap)
            return false;
        bitmap->transparencyKind = kTransparencyOpaque;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                uint8_t* pixel = bitmap->PixelAddress(x, y);
                pixel[0] = p.blue;
                pixel[1] = p.green;
                pixel[2] = p.red;
                pixel[3] = 0;
            }
        }
        MMPictureSource source;
        source.bitmap = bitmap.get();
        if (!MMWritePicture(file, i, source))
            return false;
    }
    return file.MarkEndOfItems() && file.Close(true);
}

bool WriteTones(const FSDirectory& folder, const char* name, uint16_t collectionId,
                const std::vector<int32_t>& milliseconds)
{
    MMSoundResourceFile file;
    int16_t count = int16_t(milliseconds.size());
    if (!file.Create(folder, name, FSFileKind(), count, collectionId))
        return false;
    for (int16_t i = 0; i < count; ++i) {
        int32_t frames = milliseconds[i] * 22050 / 1000;
        std::vector<int16_t> samples(frames);
        for (int32_t s = 0; s < frames; ++s)
            samples[s] = int16_t(8000 * std::sin(s * 0.0626));
        MMSoundItemSource source;
        source.samples = samples.data();
        source.frameCount = frames;
        source.rateCode = 1;
        if (!MMWriteSound(file, i, source))
            return false;
    }
    return file.MarkEndOfItems() && file.Close(true);
}

#include "engine/picture_collection.h"
#include "engine/picture_loader.h"
#include "engine/script_file.h"
#include "media/picture_visual.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_loader.h"
#include "media/sound/sound_manager.h"

void AnimationTest::Open(const std::vector<ScriptTable>& scripts)
{
    const FSDirectory& folder = scratch.folder;
    ASSERT_TRUE(WritePictures(folder, "a.MMP", kAnimationPictures,
                              {{20, 10, 255, 0, 0}, {30, 16, 0, 255, 0}, {8, 8, 0, 0, 255},
                               {6, 6, 255, 255, 0}}));
    ASSERT_TRUE(WriteTones(folder, "a.MMA", kAnimationSounds, {300}));
    ASSERT_TRUE(WriteScripts(folder, "a.mms", kAnimationScripts, scripts));
    ASSERT_TRUE(OpenScriptFile(folder, "a.mms"));
    ASSERT_NE(MMOpenPictureFile(folder, "a.MMP", false), nullptr);
    ASSERT_NE(CreateSoundLoader("a.MMA", folder, false), nullptr);
    stage.SoundManager()->SetClock(FakeClock::Now);
    scene = new PlainScene(&stage);
    stage.SetPendingScene(scene, nullptr, nullptr);
    stage.StartClock();
    stage.ChangeSceneOrDispatch();
}

void AnimationTest::TearDown()
{
    // Visuals hold references into the collections: they go first.
    if (scene)
        scene->DeleteMolecules();
    DeleteAllSoundCollections();
    DeleteAllPictureCollections();
    CloseAllScriptFiles();
}

void AnimationTest::Pass(int32_t t)
{
    time = t;
    FakeClock::now = uint32_t(1000 + t);
    stage.ChangeSceneOrDispatch();
    stage.RunDueTasks();
    stage.FrameTick();
}

std::string AnimationTest::Shown(const MMAnimationMolecule& molecule)
{
    std::string text;
    for (int16_t i = 0; i < molecule.VisualCount(); ++i) {
        MMPictureBasedVisual* visual = molecule.Visual(i);
        if (i)
            text += " ";
        if (visual->IsHidden() || visual->GetPicture().IsEmpty())
            text += "-";
        else
            text += std::to_string(visual->GetPicture().Index());
    }
    for (const std::string& line : log)
        text += " >" + line;
    log.clear();
    return text;
}

int32_t AnimationTest::PictureUses(int16_t picture)
{
    MMPictureCollection* pictures = MMFindPictureCollection(ScriptPicture(0));
    return pictures ? pictures->ReferenceManager()->UseCount(picture) : -1;
}
