#include "button_fixture.h"

#include "engine/picture_loader.h"
#include "engine/script_file.h"
#include "media/picture_visual.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_loader.h"
#include "media/sound/sound_manager.h"

const PointerStep kEnter = {"enter", 15, 15, 0};
const PointerStep kMove = {"move", 16, 15, 0};
const PointerStep kPress = {"press", 15, 15, kPointerPressed | kPointerHeld};
const PointerStep kHeldMove = {"held move", 17, 15, kPointerHeld};
const PointerStep kHeldOut = {"held out", 100, 100, kPointerHeld};
const PointerStep kReleaseIn = {"release in", 15, 15, kPointerReleased};
const PointerStep kReleaseOut = {"release out", 100, 100, kPointerReleased};
const PointerStep kLeave = {"leave", 100, 100, 0};
const PointerStep kDoubleClick = {"double click", 15, 15,
                                  kPointerPressed | kPointerHeld | kPointerDoubleClick};

const std::vector<int16_t>& ButtonLabels()
{
    static const std::vector<int16_t> labels = {1, 3, 4, 5, 6, 7, 8, 9, 44, 77, 90};
    return labels;
}

MMResourceId LabelPicture(int16_t label)
{
    const std::vector<int16_t>& labels = ButtonLabels();
    for (size_t i = 0; i < labels.size(); ++i) {
        if (labels[i] == label)
            return ScriptPicture(int16_t(i));
    }
    return MM_NO_RESOURCE;
}

ScriptRows LabelScript(const std::vector<int16_t>& labels, ScriptRows (*extra)(int16_t label))
{
    ScriptRows rows = ScriptRows().Visuals(1).Channels(2);
    for (int16_t label : labels) {
        rows.Frame(label, 0).Place(0, 0, 10, 10).Picture(LabelPicture(label));
        rows.Event(int16_t(1000 + label));
        if (extra) {
            ScriptRows more = extra(label);
            rows.rows.insert(rows.rows.end(), more.rows.begin(), more.rows.end());
        }
    }
    return rows;
}

void ButtonTest::Open(const std::vector<ScriptTable>& scripts)
{
    const FSDirectory& folder = scratch.folder;
    std::vector<SolidPicture> pictures;
    for (size_t i = 0; i < ButtonLabels().size(); ++i)
        pictures.push_back({20, 10, uint8_t(20 * i + 10), uint8_t(200 - 15 * i), 90});
    ASSERT_TRUE(WritePictures(folder, "b.MMP", kAnimationPictures, pictures));
    ASSERT_TRUE(WriteTones(folder, "b.MMA", kAnimationSounds, {300, 300}));
    ASSERT_TRUE(WriteScripts(folder, "b.mms", kAnimationScripts, scripts));
    ASSERT_TRUE(OpenScriptFile(folder, "b.mms"));
    ASSERT_NE(MMOpenPictureFile(folder, "b.MMP", false), nullptr);
    ASSERT_NE(CreateSoundLoader("b.MMA", folder, false), nullptr);
    stage.SoundManager()->SetClock(FakeClock::Now);
    scene = new PlainScene(&stage);
    stage.SetPendingScene(scene, nullptr, nullptr);
    stage.StartClock();
    stage.ChangeSceneOrDispatch();
}

void ButtonTest::TearDown()
{
    if (scene)
        scene->DeleteMolecules();
    DeleteAllSoundCollections();
    DeleteAllPictureCollections();
    CloseAllScriptFiles();
}

void ButtonTest::Pass()
{
    time += 10;
    FakeClock::now = uint32_t(1000 + time);
    stage.RunDueTasks();
    stage.FrameTick();
}

void ButtonTest::Dispatch(const PointerStep& step)
{
    MMStageEvent event = {kStageEventPointer, 0, 0, step.x, step.y, step.flags};
    stage.DispatchMouseEvent(event);
}

void ButtonTest::Pointer(const PointerStep& step)
{
    Dispatch(step);
    Pass();
    Pass();
}

void ButtonTest::Watch(MMAnimationMolecule& molecule)
{
    for (int16_t label : ButtonLabels()) {
        std::string name = "L" + std::to_string(label);
        molecule.SetCommand(int16_t(1000 + label), new LogCommand(&stage, &log, name.c_str()));
    }
}

std::string ButtonTest::Ran()
{
    std::string text;
    for (const std::string& line : log)
        text += (text.empty() ? "" : ",") + line;
    log.clear();
    return text.empty() ? "-" : text;
}

std::string ButtonTest::Play(const std::vector<PointerStep>& steps)
{
    Ran();
    std::string text;
    for (const PointerStep& step : steps) {
        Pointer(step);
        text += (text.empty() ? "" : " | ") + Ran();
    }
    return text;
}
