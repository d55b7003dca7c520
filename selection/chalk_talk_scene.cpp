#include "selection/chalk_talk_scene.h"

#include <cstdio>
#include <new>

#include "engine/animation_molecule.h"
#include "engine/enclosure.h"
#include "engine/picture_collection.h"
#include "engine/picture_molecule.h"
#include "engine/stage.h"
#include "engine/stage_cursors.h"
#include "framework/heap.h"
#include "framework/random.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "media/surface.h"
#include "selection/chalk_talk_interpreters.h"
#include "selection/chalk_talk_tables.h"
#include "selection/magic_slate_tool_collection.h"
#include "shell/app.h"
#include "shell/next_time_thread.h"
#include "shell/widgets/animated_button.h"
#include "shell/widgets/quit_button.h"

using namespace chalk_talk;

uint32_t chalk_talk::ColourOfRow(const MMRecordTable& t, int32_t row)
{
    if (row < 0)
        return 0;
    uint32_t r = uint8_t(t.ShortAt(row, 2)), g = uint8_t(t.ShortAt(row, 4)), b = uint8_t(t.ShortAt(row, 6));
    return b | (g << 8) | (r << 16);
}

std::vector<MMResourceId> chalk_talk::ItemList(const MMRecordTable& t, int32_t row)
{
    std::vector<MMResourceId> ids;
    if (row < 0)
        return ids;
    MMRecordTable list;
    list.Load(t.ItemIdAt(row, 2), 2, gDefaultHeap);
    for (int32_t i = 0; i < list.RowCount(); ++i)
        ids.push_back(list.ItemIdAt(i, 0));
    return ids;
}

MMResourceId chalk_talk::PickOne(const std::vector<MMResourceId>& ids)
{
    if (ids.empty())
        return -1;
    return ids[ProgramRandom().Range(0, int32_t(ids.size()) - 1)];
}

ChalkTalkScene::ChalkTalkScene(MMStage* stage) : KVXBaseScene(stage) {}

ChalkTalkScene::~ChalkTalkScene() { DeleteMolecules(); }

void ChalkTalkScene::PostEvent(int16_t event, int16_t value)
{
    auto* command = new (std::nothrow) ChalkTalkEventCommand(this, event, value);
    if (command && nextTime)
        nextTime->Enqueue(command);
    else
        delete command;
}

void ChalkTalkScene::Begin()
{
    nextTime = new NextTimeThread(stage_);
    nextTime->Activate();
    if (stage_->SoundManager()) {
        narration = new (std::nothrow) MMGenericSoundChannel(stage_->SoundManager());
        music = new (std::nothrow) MMGenericSoundChannel(stage_->SoundManager());
    }
    table.LoadTenByteRows(kSceneTable, kSceneTableTag);
    lessonList.Load(table.ItemIdAt(table.FindRowByKey(7), 2), 10, gDefaultHeap);
    stepPictures.Load(table.ItemIdAt(table.FindRowByKey(kStepPicturesKey), 2), 12, gDefaultHeap);

    Pair at;
    MMPictureID picture;
    int32_t row = table.FindRowByKey(9);
    if (row >= 0 && MMPlacedPicture(table.ItemIdAt(row, 2), 0, at, picture))
        decoration = new MMPictureMolecule(this, picture, at, kDecorationLayer);
    for (int16_t key : {int16_t(0), int16_t(1)}) {
        row = table.FindRowByKey(key);
        if (row < 0 || !MMPlacedPicture(table.ItemIdAt(row, 2), 0, at, picture))
            continue;
        new MMPictureButtonMolecule(this, at, picture, picture,
                                    new ChalkTalkEventCommand(this, key == 0 ? kChalkLeave : kChalkGoOn, -1),
                                    kButtonLayer, KVXAppCursor(0));
    }
    row = table.FindRowByKey(3);
    if (row >= 0)
        new KVXAnimatedButtonMolecule(this, table.LongAt(row, 2), new ChalkTalkEventCommand(this, kChalkLeave, -1),
                                      kButtonLayer, 0, 100, 0);
    row = table.FindRowByKey(2);
    if (row >= 0)
        quitButton = new KVXQuitButton(this, table.LongAt(row, 2), new ChalkTalkEventCommand(this, kChalkQuit, -1),
                                       kButtonLayer, 0, 0, 0, 0);
    for (int32_t i = 0; i < lessonList.RowCount(); ++i) {
        MMRecordTable lessonTable;
        lessonTable.LoadTenByteRows(lessonList.ItemIdAt(i, 2), 1);
        int32_t buttonRow = lessonTable.FindRowByKey(kLessonKeyButton);
        auto* button = new KVXAnimatedButtonMolecule(
            this, buttonRow >= 0 ? lessonTable.LongAt(buttonRow, 2) : -1,
            new ChalkTalkEventCommand(this, kChalkLessonPressed, int16_t(i)), kButtonLayer, 0, 100, 0);
        button->BindEventCommand(1, new ChalkTalkEventCommand(this, kChalkLessonChosen, int16_t(i)), nullptr);
        lessonButtons.push_back(button);
    }
    const int16_t arrowKeys[2] = {18, 19};
    for (int a = 0; a < 2; ++a) {
        row = table.FindRowByKey(arrowKeys[a]);
        if (row >= 0)
            arrows[a] = new KVXAnimatedButtonMolecule(
                this, table.LongAt(row, 2), new ChalkTalkEventCommand(this, kChalkScroll, a == 0 ? 1 : -1),
                kButtonLayer, 0, 100, 0);
        if (arrows[a])
            arrows[a]->SetDisabled(true);
    }

    row = table.FindRowByKey(21);
    canvasBox = row >= 0 ? table.RectAt(row, 2) : Box{144, 16, 784, 496};
    canvas = new ChalkTalkCanvasVisual(stage_, canvasBox, kCanvasLayer, ColourOfRow(table, table.FindRowByKey(8)));
    canvas->Store().SetFrameListener(this);
    stage_->TopEnclosure()->AddVisual(canvas);
    canvas->Activate();
    ShowCanvas(false);
    for (int16_t f = 0; f < kSlateFrames; ++f) {
        row = table.FindRowByKey(int16_t(13 + f));
        if (row < 0)
            continue;
        MMRecordTable light;
        light.Load(table.ItemIdAt(row, 2), 12, gDefaultHeap);
        if (light.RowCount() == 0)
            continue;
        MMPictureButtonVisual::Parameters p;
        p.normal.Load(light.LongAt(0, 4));
        p.highlight.Load(light.LongAt(0, 8));
        p.position = light.PairAt(0, 0);
        p.interpreter = nullptr;
        p.layer = kLightLayer;
        lights[f] = new MMPictureButtonVisual;
        lights[f]->ConstructWithPictures(p);
        stage_->TopEnclosure()->AddVisual(lights[f]);
    }
    timer = new TimerThread(stage_);
    rewardScripts = ItemList(table, table.FindRowByKey(20));
    MMResourceId introScript = PickOne(ItemList(table, table.FindRowByKey(4)));
    intro = Animate(introScript, kIntroLayer, kChalkStart, -1);
    if (stage_->Cursors())
        stage_->Cursors()->PushBusy();
    if (!intro)
        PostEvent(kChalkStart, -1);
}

MMAnimationMolecule* ChalkTalkScene::Animate(MMResourceId script, int16_t layer, int16_t doneEvent,
                                             int16_t doneValue)
{
    if (script == -1)
        return nullptr;
    auto* animation = new KVXAnimationMolecule(this, script, 0);
    animation->SetLayerOffset(layer);
    if (doneEvent >= 0)
        animation->SetDoneCommand(new ChalkTalkEventCommand(this, doneEvent, doneValue));
    animation->Run(1);
    return animation;
}

void ChalkTalkScene::DeleteMolecules()
{
    if (timer) {
        timer->Terminate();
        delete timer;
        timer = nullptr;
    }
    RemoveInterpreter();
    if (canvas) {
        canvas->Terminate();
        stage_->TopEnclosure()->RemoveVisual(canvas);
        delete canvas;
        canvas = nullptr;
    }
    for (MMPictureButtonVisual*& light : lights) {
        if (!light)
            continue;
        stage_->TopEnclosure()->RemoveVisual(light);
        delete light;
        light = nullptr;
    }
    if (nextTime) {
        nextTime->Terminate();
        delete nextTime;
        nextTime = nullptr;
    }
    delete narration;
    delete music;
    narration = music = nullptr;
    lessonButtons.clear();
    stepButtons.clear();
    arrows[0] = arrows[1] = nullptr;
    quitButton = nullptr;
    preview = teacher = reward = intro = nullptr;
    decoration = nullptr;
    lesson.reset();
    currentLesson = chosenLesson = -1;
    table.Free();
    lessonList.Free();
    stepPictures.Free();
    KVXBaseScene::DeleteMolecules();
}

int16_t ChalkTalkScene::Delay(int16_t key) const
{
    int32_t row = table.FindRowByKey(key);
    return row >= 0 ? table.ShortAt(row, 2) : 0;
}

MMResourceId ChalkTalkScene::SoundAt(int16_t key) const
{
    int32_t row = table.FindRowByKey(key);
    return row >= 0 ? table.LongAt(row, 2) : -1;
}

void ChalkTalkScene::PlaySound(MMGenericSoundChannel* channel, MMResourceId id)
{
    if (!channel || id == -1)
        return;
    MMSoundReference sound;
    sound.Load(id);
    channel->Play(sound, false);
}

void ChalkTalkScene::StopSound(MMGenericSoundChannel* channel)
{
    if (channel)
        channel->Stop();
}

void ChalkTalkScene::ClearBusy()
{
    if (!stage_->Cursors())
        return;
    while (stage_->Cursors()->BusyCount() > 0)
        stage_->Cursors()->PopBusy();
}

void ChalkTalkScene::SetTimer(int16_t delayKey, int16_t event, int16_t value)
{
    if (!timer)
        return;
    timer->Set(Delay(delayKey), new ChalkTalkEventCommand(this, event, value));
    timer->Start();
}

void ChalkTalkScene::DeleteAnimation(MMAnimationMolecule*& animation)
{
    if (!animation)
        return;
    animation->Stop();
    delete animation;
    animation = nullptr;
}

void ChalkTalkScene::ShowCanvas(bool show)
{
    if (!canvas)
        return;
    canvas->SetHidden(!show);
    canvas->Invalidate();
}

void ChalkTalkScene::MarkLesson(int16_t v, bool restartOthers)
{
    for (int16_t i = 0; i < LessonCount(); ++i) {
        if (i == v) {
            if (chosenLesson != v)
                lessonButtons[i]->Select(false);
        } else if (restartOthers || chosenLesson == i) {
            lessonButtons[i]->Restart(1);
        }
    }
    chosenLesson = v;
}

void ChalkTalkScene::RestartTeacher(int16_t start)
{
    if (teacher)
        nextTime->Enqueue(teacher->MakeGotoCommand(start));
}

void ChalkTalkScene::LoadLesson(int16_t v)
{
    lesson.reset();
    teacherScripts.clear();
    if (v < 0 || v >= lessonList.RowCount())
        return;
    lessonTable = lessonList.ItemIdAt(v, 2);
    MMRecordTable lessonRows;
    lessonRows.LoadTenByteRows(lessonTable, 1);
    MMRecordTable steps;
    steps.LoadTenByteRows(lessonRows.ItemIdAt(lessonRows.FindRowByKey(kLessonKeySteps), 2), 3);
    std::vector<KVXChalkStep> list;
    for (int32_t s = 0; s < steps.RowCount(); ++s) {
        MMRecordTable stepRows;
        stepRows.LoadTenByteRows(steps.ItemIdAt(s, 2), 6);
        int32_t teacherRow = stepRows.FindRowByKey(1);
        teacherScripts.push_back(teacherRow >= 0 ? stepRows.LongAt(teacherRow, 2) : -1);
        MMRecordTable props;
        props.LoadTenByteRows(stepRows.ItemIdAt(stepRows.FindRowByKey(2), 2), 6);
        KVXChalkStep step;
        int32_t r;
        if ((r = props.FindRowByKey(0)) >= 0)
            step.channel = props.ShortAt(r, 2);
        if ((r = props.FindRowByKey(1)) >= 0)
            step.frame = props.ShortAt(r, 2);
        step.colour = ColourOfRow(props, props.FindRowByKey(2));
        if ((r = props.FindRowByKey(3)) >= 0)
            step.width = props.ShortAt(r, 2);
        if ((r = props.FindRowByKey(5)) >= 0)
            step.kind = props.ShortAt(r, 2);
        if (step.kind != kChalkCircle && step.kind != kChalkSquare)
            step.kind = kChalkFreehand;
        if ((r = props.FindRowByKey(4)) >= 0) {
            MMRecordTable points;
            points.Load(props.ItemIdAt(r, 2), 6, gDefaultHeap);
            std::vector<Pair> rows;
            for (int32_t p = 0; p < points.RowCount() && p < kSlatePoints; ++p)
                rows.push_back(points.PairAt(p, 2));
            step.SetGuide(rows);
        }
        list.push_back(step);
    }
    lesson.reset(new KVXChalkTalkLesson(canvas ? &canvas->Store() : nullptr, std::move(list)));
}

void ChalkTalkScene::SetUpStep(int16_t v)
{
    if (!lesson || v < 0 || v >= lesson->StepCount())
        return;
    const KVXChalkStep& step = lesson->Step(v);
    if (canvas) {
        canvas->SelectFrame(step.frame);
        canvas->SelectChannel(step.channel);
        canvas->Store().SetStepFlag(true);
        canvas->Store().SetPaused(true);
    }
    InstallInterpreter(step.kind);
    DeleteAnimation(teacher);
    teacher = Animate(teacherScripts[v], kTeacherLayer, kChalkStepDone, v);
    if (teacher) {
        teacher->SetCommand(6, new ChalkTalkEventCommand(this, kChalkChildMayDraw, v));
        teacher->SetCommand(1, new ChalkTalkEventCommand(this, kChalkAskChild, v));
    }
}

void ChalkTalkScene::InstallInterpreter(int16_t kind)
{
    RemoveInterpreter();
    if (!canvas)
        return;
    int16_t cursorKey = kind == kChalkCircle ? 27 : kind == kChalkSquare ? 28 : 26;
    if (kind == kChalkCircle || kind == kChalkSquare)
        boardInterpreter = new KVXChalkTalkShapeInterpreter(this, canvas, kind == kChalkCircle, cursorKey);
    else
        boardInterpreter = new KVXChalkTalkInterpreter(this, canvas, cursorKey);
}

void ChalkTalkScene::RemoveInterpreter()
{
    if (!boardInterpreter)
        return;
    if (canvas)
        canvas->SetMouseInterpreter(nullptr);
    delete boardInterpreter;
    boardInterpreter = nullptr;
}

void ChalkTalkScene::DeleteStepButtons()
{
    for (MMPictureButtonMolecule* button : stepButtons)
        delete button;
    stepButtons.clear();
}

void ChalkTalkScene::BuildStepButtons(int16_t v)
{
    DeleteStepButtons();
    if (v < 0 || v >= LessonCount() || !lesson)
        return;
    for (int16_t j = 0; j < lesson->StepCount(); ++j) {
        int32_t row = stepPictures.FindRowByKey(j);
        MMPictureID normal = row >= 0 ? stepPictures.LongAt(row, 4) : -1;
        MMPictureID highlight = row >= 0 ? stepPictures.LongAt(row, 8) : normal;
        auto* button = new MMPictureButtonMolecule(this, Pair{0, 0}, normal, highlight,
                                                   new ChalkTalkEventCommand(this, kChalkStep, j),
                                                   kButtonLayer, KVXAppCursor(0));
        button->Hide();
        stepButtons.push_back(button);
    }
    displayedStep = 0;
}

void ChalkTalkScene::ArrangeStepButtons()
{
    for (MMPictureButtonMolecule* button : stepButtons)
        button->Hide();
    KVXStepButtonLayout layout = ::ArrangeStepButtons(displayedStep, int16_t(stepButtons.size()));
    for (int place = 0; place < 3; ++place) {
        int16_t step = layout.atPlace[place];
        int32_t row = table.FindRowByKey(int16_t(10 + place));
        if (step < 0 || step >= int16_t(stepButtons.size()) || row < 0)
            continue;
        Pair at = table.PairAt(row, 2);
        stepButtons[step]->Visual()->SetPosition(at.x, at.y);
        stepButtons[step]->Show();
    }
    if (arrows[0])
        arrows[0]->SetDisabled(!layout.forwardArrow);
    if (arrows[1])
        arrows[1]->SetDisabled(!layout.backArrow);
}

const KVXChalkStep* ChalkTalkScene::StepShown() const
{
    if (!lesson || lesson->CurrentStep() < 0 || lesson->CurrentStep() >= lesson->StepCount())
        return nullptr;
    return &lesson->Step(lesson->CurrentStep());
}

void ChalkTalkScene::HighlightFrameButton(int16_t frame)
{
    litFrame = frame;
    for (int16_t f = 0; f < kSlateFrames; ++f)
        if (lights[f])
            lights[f]->SetHighlighted(f == frame);
}

void ChalkTalkScene::CopyToPrepared()
{
    if (canvas)
        AppPreparedSlateStrokes() = ::CopyToPrepared(canvas->Store());
}

void ChalkTalkScene::ChildStartedDrawing()
{
    ClearBusy();
    if (canvas)
        canvas->Store().SetPaused(true);
    childHasDrawn = true;
}

void ChalkTalkScene::StoreStep(const Pair* points, int32_t count)
{
    if (restartHeld) {
        restartHeld = false;
        RestartTeacher(2);
    }
    if (lesson)
        lesson->StoreStep(points, count);
    if (canvas)
        canvas->Invalidate();
    strokeStored = true;
}

