#include "trays/tool_collection.h"

#include <algorithm>

#include "engine/command.h"
#include "engine/picture_molecule.h"
#include "engine/record_table.h"
#include "engine/stage.h"
#include "framework/heap.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "shell/widgets/scroll_bars.h"
#include "tools/tool_base.h"
#include "trays/manager_tool.h"
#include "trays/modifier_buttons.h"
#include "trays/scroll_bar_visual.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kSliderLayer = 108;
const int16_t kPreviewLayer = 107;
const int16_t kFullScale = 510;
const int16_t kFirstModifierCapacity = 10;

typedef MMClassCommand1Parameter<KVXToolCollection, void (KVXToolCollection::*)(int16_t), int16_t>
    ModifierCommand;
typedef MMClassCommand2Parameters<KVXToolCollection, void (KVXToolCollection::*)(int16_t, bool),
                                  int16_t, bool>
    SliderCommand;

// The table a slider set names for slider which (0 or 1).
MMResourceId SliderTableOf(MMResourceId set, int16_t which)
{
    MMRecordTable rows;
    rows.Load(set, 10, gDefaultHeap);
    return TrayItemAt(rows, rows.FindRowByKey(1, 0, which));
}

}  // namespace

bool ToolSliderValues(KVXToolBase* tool, int16_t& slider1, int16_t& slider2)
{
    if (auto* standard = dynamic_cast<KVXToolStd*>(tool)) {
        slider1 = standard->Slider1();
        slider2 = standard->Slider2();
        return true;
    }
    if (auto* animated = dynamic_cast<KVXToolAnim*>(tool)) {
        slider1 = animated->Slider1();
        slider2 = animated->Slider2();
        return true;
    }
    return false;
}

bool ToolSetSlider(KVXToolBase* tool, int16_t which, int16_t value)
{
    if (auto* standard = dynamic_cast<KVXToolStd*>(tool)) {
        which == 0 ? standard->SetSlider1(value) : standard->SetSlider2(value);
        return true;
    }
    if (auto* animated = dynamic_cast<KVXToolAnim*>(tool)) {
        which == 0 ? animated->SetSlider1(value) : animated->SetSlider2(value);
        return true;
    }
    return false;
}

KVXToolCollection::KVXToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                                     KVXPlaneComponentTop* previewPlane,
                                     MMBitmapWithPixels* previewBitmapA,
                                     MMBitmapWithPixels* previewBitmapB)
    : KVXSubScene(creationScene), previewPlane(previewPlane), previewBitmapA(previewBitmapA),
      previewBitmapB(previewBitmapB), colorCell(colorCell)
{
}

KVXToolCollection::~KVXToolCollection()
{
    for (KVXBaseModifiersObject* button : modifiers)
        delete button;
    modifiers.clear();
    DeleteSliders();
    DeleteTools();
    delete dudChannel;
}

KVXToolBase* KVXToolCollection::ToolAt(int16_t index) const
{
    return index >= 0 && index < ToolCount() ? tools[size_t(index)] : nullptr;
}

KVXToolBase* KVXToolCollection::CurrentTool() const { return ToolAt(currentTool); }

KVXBaseModifiersObject* KVXToolCollection::ModifierAt(int16_t index) const
{
    return index >= 0 && index < ModifierCount() ? modifiers[size_t(index)] : nullptr;
}

KVXModifierScrollBarMolecule* KVXToolCollection::Slider(int16_t which) const
{
    return which == 0 ? slider1 : which == 1 ? slider2 : nullptr;
}

MMPictureMolecule* KVXToolCollection::SliderPreview(int16_t which) const
{
    return which == 0 ? preview1 : which == 1 ? preview2 : nullptr;
}

void KVXToolCollection::AddTool(KVXToolBase* tool)
{
    if (tool != nullptr)
        tools.push_back(tool);
}

void KVXToolCollection::AddModifier(KVXBaseModifiersObject* button)
{
    if (button != nullptr)
        modifiers.push_back(button);
}

void KVXToolCollection::DeleteTools()
{
    for (KVXToolBase* tool : tools)
        delete tool;
    tools.clear();
}

MMCommand* KVXToolCollection::MakeModifierCommand(int16_t index)
{
    return new ModifierCommand("New Modifier Command", Stage(), this,
                               &KVXToolCollection::SelectModifier, index);
}

MMCommand* KVXToolCollection::MakeDudCommand(const char* name)
{
    return new MMClassCommand<KVXToolCollection>(name, Stage(), this,
                                                 &KVXToolCollection::PlayDudSound);
}

void KVXToolCollection::PlayDudSound()
{
    ++dudSounds;
    MMStage* stage = Stage();
    if (stage == nullptr || stage->SoundManager() == nullptr)
        return;
    if (dudChannel == nullptr)
        dudChannel = new MMGenericSoundChannel(stage->SoundManager());
    MMSoundReference sound;
    sound.Load(CreationLayoutId(kLayoutRefusalSound));
    dudChannel->Play(sound, false);
}

void KVXToolCollection::Begin()
{
    if (modifiers.capacity() < size_t(kFirstModifierCapacity))
        modifiers.reserve(std::max<size_t>(kFirstModifierCapacity, 2 * modifiers.capacity()));
    SetModeAndSelect(0, initialModifier);
}

void KVXToolCollection::DeleteMolecules()
{
    SelectModifier(-1);
    ReleaseModifiers();
    ActivateTool(-1);
    DeleteSliders();
    DeleteTools();
    if (manager != nullptr) {
        manager->HideSizeButtons();
        manager->HideSecondSizeButtons();
    }
    KVXSubScene::DeleteMolecules();
}

int16_t KVXToolCollection::GetSliderValue(int16_t which)
{
    KVXModifierScrollBarMolecule* slider = Slider(which);
    return slider != nullptr ? slider->Position() : 0;
}

void KVXToolCollection::MakeSliders(MMResourceId table)
{
    sliderTable = table;
    if (slider1 == nullptr && slider2 == nullptr) {
        MMRecordTable layout;
        layout.Load(CreationLayoutTable(), 10, gDefaultHeap);
        MMResourceId showAnimation = TrayItemAt(layout, layout.FindRowByKey(kLayoutSliderShow));
        MMResourceId hideAnimation = TrayItemAt(layout, layout.FindRowByKey(kLayoutSliderHide));
        for (int16_t which = 0; which < 2; ++which) {
            MMRecordTable slider;
            slider.Load(SliderTableOf(table, which), 10, gDefaultHeap);
            if (slider.RowCount() == 0)
                continue;
            MMRecordTable geometry, placement, previews;
            geometry.Load(TrayItemAt(slider, 0), 10, gDefaultHeap);
            placement.Load(TrayItemAt(slider, slider.FindRowByKey(1)), 8, gDefaultHeap);
            previews.Load(TrayItemAt(slider, slider.FindRowByKey(3)), 8, gDefaultHeap);
            MMPictureID thumb = TrayItemAt(slider, slider.FindRowByKey(2));
            auto* visual = new KVXScrollBarVisual(this, placement.PairAt(0, 0), thumb,
                                                  placement.LongAt(0, 4), showAnimation,
                                                  hideAnimation, kScrollHorizontal);
            int16_t range = int16_t(TrayValueAt(geometry, geometry.FindRowByKey(6)));
            int16_t centre = int16_t(range / 2);
            auto* bar = new KVXModifierScrollBarMolecule(this, visual, range, 1, centre,
                                                         int16_t(centre / 10), kSliderLayer,
                                                         TrayCursor(0));
            bar->SetRange(range);
            bar->SetPosition(int16_t(TrayValueAt(geometry, geometry.FindRowByKey(8))));
            bar->SetTracking(true);
            bar->SetCommand(new SliderCommand("3d Slider Command", Stage(), this,
                                              &KVXToolCollection::ForwardSizeOrShape, which,
                                              true));
            auto* preview = new MMPictureMolecule(this, MMPictureID(MM_NO_RESOURCE),
                                                  previews.PairAt(0, 0), kPreviewLayer);
            (which == 0 ? slider1 : slider2) = bar;
            (which == 0 ? preview1 : preview2) = preview;
        }
    }
    SyncSliders();
}

void KVXToolCollection::DeleteSliders()
{
    delete slider1;
    delete slider2;
    delete preview1;
    delete preview2;
    slider1 = slider2 = nullptr;
    preview1 = preview2 = nullptr;
}

void KVXToolCollection::SyncSliders()
{
    int16_t value1 = 0, value2 = 0;
    if (!ToolSliderValues(CurrentTool(), value1, value2))
        return;
    if (slider1 != nullptr) {
        slider1->SetPosition(value1);
        UpdateFirstPreview();
    }
    if (slider2 != nullptr) {
        slider2->SetPosition(value2);
        UpdateSecondPreview();
    }
}

void KVXToolCollection::ForwardSizeOrShape(int16_t which, bool rebuild)
{
    KVXToolBase* tool = CurrentTool();
    int16_t value1 = 0, value2 = 0;
    if (!ToolSliderValues(tool, value1, value2) || (which != 0 && which != 1))
        return;
    if (which == 0)
        UpdateFirstPreview();
    else
        UpdateSecondPreview();
    ToolSetSlider(tool, which, GetSliderValue(which));
    if (rebuild)
        RebuildModifiers();
}

void KVXToolCollection::SetSizeType(int16_t type)
{
    if (type == sizeType)
        return;
    sizeType = type;
    for (KVXToolBase* tool : tools)
        tool->SetSizeType(type);
}

void KVXToolCollection::UpdatePreview(int16_t which)
{
    MMPictureMolecule* preview = SliderPreview(which);
    if (preview == nullptr)
        return;
    MMRecordTable slider, rows;
    slider.Load(SliderTableOf(sliderTable, which), 10, gDefaultHeap);
    rows.Load(TrayItemAt(slider, slider.FindRowByKey(3)), 8, gDefaultHeap);
    int32_t n = rows.RowCount();
    MMPictureReference picture;
    if (n > 0) {
        double x = GetSliderValue(which) / double(kFullScale);
        if (x != 0.0)
            x -= 0.01;
        int32_t row = std::clamp(int32_t(x * n), 0, n - 1);
        picture.Load(rows.LongAt(row, 4));
    }
    preview->Visual()->SetPicture(picture);
    preview->Visual()->Invalidate();
}

void KVXToolCollection::UpdateFirstPreview() { UpdatePreview(0); }

void KVXToolCollection::UpdateSecondPreview() { UpdatePreview(1); }

void KVXToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    mode = newMode;
    SelectModifier(index);
}

void KVXToolCollection::ReleaseModifiers()
{
    SelectModifier(-1);
    for (KVXBaseModifiersObject* button : modifiers)
        delete button;
    modifiers.clear();
}

void KVXToolCollection::RebuildModifiers()
{
    int16_t remembered = currentModifier;
    SelectModifier(-1);
    ReleaseModifiers();
    SetModeAndSelect(mode, remembered);
}

KVXBaseModifiersObject* KVXToolCollection::MakeModifierButton(int16_t, int16_t, int16_t)
{
    return nullptr;
}

void KVXToolCollection::RemoveModifierBitmap(int16_t index)
{
    if (index < 0 || index >= ModifierCount())
        return;
    delete modifiers[size_t(index)];
    modifiers.erase(modifiers.begin() + index);
}

void KVXToolCollection::ReplaceModifierBitmap(int16_t index)
{
    KVXBaseModifiersObject* old = ModifierAt(index);
    if (old == nullptr)
        return;
    int16_t toolIndex = old->ToolIndex();
    RemoveModifierBitmap(index);
    if (KVXBaseModifiersObject* button = MakeModifierButton(mode, index, toolIndex))
        modifiers.insert(modifiers.begin() + index, button);
}

void KVXToolCollection::ResetModifiers()
{
    savedTool = currentTool;
    savedModifier = currentModifier;
    ReleaseModifiers();
    SetModeAndSelect(1, 0);
}

void KVXToolCollection::ReselectCurrent()
{
    ReleaseModifiers();
    SetModeAndSelect(0, savedModifier);
}

void KVXToolCollection::SelectModifier(int16_t index)
{
    if (index == currentModifier || index < -1 || index >= ModifierCount())
        return;
    if (KVXBaseModifiersObject* old = ModifierAt(currentModifier)) {
        old->Deselect();
        ActivateTool(-1);
    }
    currentModifier = index;
    if (index == -1)
        return;
    KVXBaseModifiersObject* button = modifiers[size_t(index)];
    button->Select();
    ActivateTool(button->ToolIndex());
}

void KVXToolCollection::SelectModifierOfTool(int16_t index, int16_t toolIndex)
{
    if (!MarkModifier(index))
        return;
    if (KVXBaseModifiersObject* button = ModifierAt(index))
        toolIndex = button->ToolIndex();
    ActivateTool(toolIndex);
}

bool KVXToolCollection::MarkModifier(int16_t index)
{
    if (index == currentModifier)
        return false;
    if (KVXBaseModifiersObject* old = ModifierAt(currentModifier))
        old->Deselect();
    currentModifier = index;
    if (index == -1) {
        ActivateTool(-1);
        return false;
    }
    if (KVXBaseModifiersObject* button = ModifierAt(index))
        button->Select();
    return true;
}

void KVXToolCollection::StoreOwnerValue(const uint32_t* colour)
{
    if (colour != nullptr && colorCell != nullptr)
        *colorCell = *colour;
}

void KVXToolCollection::ForwardToCurrentTool(int32_t value)
{
    if (KVXToolBase* tool = CurrentTool())
        tool->Finish(value);
}

void KVXToolCollection::ActivateTool(int16_t index)
{
    if (index == currentTool)
        return;
    if (KVXToolBase* old = CurrentTool())
        old->DeleteMolecules();
    currentTool = index;
    KVXToolBase* tool = CurrentTool();
    if (tool == nullptr) {
        currentTool = -1;
        return;
    }
    tool->SetSizeType(sizeType);
    tool->Begin();
    SyncSliders();
}
