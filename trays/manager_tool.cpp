#include "trays/manager_tool.h"

#include "canvas/canvas_visual.h"
#include "canvas/plane.h"
#include "engine/command.h"
#include "engine/record_table.h"
#include "engine/stage.h"
#include "engine/stage_event.h"
#include "framework/heap.h"
#include "media/bitmap.h"
#include "selection/rope_interpreters.h"
#include "shell/app.h"
#include "shell/widgets/animated_choice_buttons.h"
#include "shell/widgets/color_changing_thread.h"
#include "tools/rope_tool.h"
#include "tools/tool_base.h"
#include "trays/color_pickers.h"
#include "trays/creation_zoom.h"
#include "trays/modifier_buttons.h"
#include "trays/tool_collection.h"
#include "trays/tool_trays.h"
#include "trays/tray_tables.h"
#include "trays/twisting_tool_button.h"

namespace {

const int16_t kPaletteLayer = 99;
const int16_t kToolButtonLayer = 109;
const int16_t kSizeButtonLayer = 107;
const int16_t kButtonPriority = 100;
const int16_t kStartingSize = 2;

// The row of the tool-button table for each type.
const int16_t kToolButtonRow[kToolCollectionTypes] = {0, 1, 2, 5, 3, 4, 13, 6, 7, 8, 9, 10, 11, 12};

typedef void (KVXManagerTool::*ActivateHandler)(KVXToolCollection**,
                                                KVXAnimatedToolButtonMolecule**, int32_t);
typedef MMClassCommand3Parameters<KVXManagerTool, ActivateHandler, KVXToolCollection**,
                                  KVXAnimatedToolButtonMolecule**, int32_t>
    SelectionCommand;
typedef void (KVXManagerTool::*TwistHandler)(KVXToolCollection**);
typedef MMClassCommand1Parameter<KVXManagerTool, TwistHandler, KVXToolCollection**> TwistCommand;
typedef void (KVXManagerTool::*SizeHandlerType)(KVXToolCollection**, int16_t);
typedef MMClassCommand2Parameters<KVXManagerTool, SizeHandlerType, KVXToolCollection**, int16_t>
    SizeCommand;
typedef MMClassCommand1Parameter<KVXManagerTool, void (KVXManagerTool::*)(int16_t), int16_t>
    ToolSizeCommand;

// The five trays whose button clicks twist as well.
bool TwistsOnSelection(int32_t type)
{
    return type == kChalkCollection || type == kCrayonCollection || type == kMarkerCollection ||
           type == kEraserCollection || type == kPaintBrushCollection;
}

void Select(KVXAnimatedButtonMolecule* button, bool withSound)
{
    if (button != nullptr && !button->IsHidden())
        button->Select(withSound);
}

}  // namespace

KVXManagerTool::KVXManagerTool(KVXCreationHost* creationScene) : KVXSubScene(creationScene) {}

KVXManagerTool::~KVXManagerTool()
{
    if (previewPlane != nullptr)
        DeleteMolecules();
}

KVXToolCollection* KVXManagerTool::Collection(int32_t type) const
{
    return type >= 0 && type < kToolCollectionTypes ? collections[type] : nullptr;
}

KVXAnimatedToolButtonMolecule* KVXManagerTool::ToolButton(int32_t type) const
{
    return type >= 0 && type < kToolCollectionTypes ? buttons[type] : nullptr;
}

KVXToolBase* KVXManagerTool::CurrentTool() const
{
    return currentCollection != nullptr ? currentCollection->CurrentTool() : nullptr;
}

void KVXManagerTool::BuildPreviewPlane()
{
    MMRecordTable sizes;
    sizes.Load(TrayTableId(kPreviewPlaneTable), 8, gDefaultHeap);
    Pair size = sizes.RowCount() > 0 ? sizes.PairAt(0, 0) : Pair{2, 2};
    size.x = std::max(size.x, 2);
    size.y = std::max(size.y, 2);
    previewPlane = new KVXPlaneComponentTop(size);
    previewPlane->SetDirtyBox(previewPlane->Bounds());
    Box bitmapBox = {0, 0, size.x - 1, size.y - 1};
    previewBitmapA = MMBitmap::CreateWithPixels(bitmapBox, kPixelBGRA, nullptr);
    previewBitmapB = MMBitmap::CreateWithPixels(bitmapBox, kPixelBGRA, nullptr);
}

void KVXManagerTool::Begin()
{
    palette = new KVXToolColorPickerAndPaletteMolecule(
        this,
        new MMClassCommand<KVXManagerTool>("set tool", Stage(), this,
                                           &KVXManagerTool::ColorChosen),
        kPaletteLayer);
    palette->SetColor(colorCell);
    BuildButtonSet(firstSizes, kFirstSizeTable, kToolSizes, &KVXManagerTool::HandleSizeButton);
    BuildButtonSet(shapes, kShapeButtonTable, kToolShapes, &KVXManagerTool::HandleShapeButton);
    BuildButtonSet(secondSizes, kSecondSizeTable, kToolSizes,
                   &KVXManagerTool::HandleSecondSizeButton);
    ShowSizeButtons();
    BuildPreviewPlane();
    BuildToolButtons();
    SelectCurrent(firstSizes, false);
    SelectCurrent(shapes, false);
    SelectCurrent(secondSizes, false);
    BindMenuCommands();
}

void KVXManagerTool::BuildButtonSet(ButtonSet& set, int16_t table, int16_t count,
                                    SizeHandler handler)
{
    MMRecordTable rows;
    rows.Load(TrayTableId(table), 10, gDefaultHeap);
    for (int16_t i = 0; i < count; ++i) {
        MMResourceId script = TrayItemAt(rows, rows.FindRowByKey(i));
        if (script == MM_NO_RESOURCE)
            continue;
        auto* command = new SizeCommand("tool Size", Stage(), this, handler, &currentCollection, i);
        KVXAnimatedToolSizeButton* button =
            &set == &shapes
                ? new KVXAnimatedShapes(this, script, command, kSizeButtonLayer, 0,
                                        kButtonPriority, 1)
                : new KVXAnimatedToolSizeButton(this, script, command, kSizeButtonLayer, 0,
                                                kButtonPriority, 1);
        set.buttons.push_back(button);
    }
    set.shown = true;
    Hide(set);
    set.current = &set == &shapes ? 0 : kStartingSize;
}

void KVXManagerTool::BuildToolButtons()
{
    MMRecordTable rows;
    rows.Load(TrayTableId(kToolButtonTable), 10, gDefaultHeap);
    for (int32_t type = 0; type < kToolCollectionTypes; ++type) {
        KVXToolCollection* collection = MakeToolCollection(
            type, &colorCell, GetCreationScene(), previewPlane, previewBitmapA, previewBitmapB);
        if (collection != nullptr)
            collection->SetManager(this);
        collections[type] = collection;
        ActivateHandler handler = type == kShapeCollection ? &KVXManagerTool::ActivateShapeCollection
                                  : type == kMagicSlateCollection
                                      ? &KVXManagerTool::ActivateSlateCollection
                                      : &KVXManagerTool::ActivateCollection;
        const char* selectName =
            TwistsOnSelection(type) ? "Handle Tool twist Selection" : "Handle Tool Selection";
        const char* twistName =
            TwistsOnSelection(type) ? "Handle Tool Selection" : "Handle Tool twist Selection";
        auto* selection = new SelectionCommand(selectName, Stage(), this, handler,
                                               &collections[type], &buttons[type], type);
        auto* twist = new TwistCommand(twistName, Stage(), this, &KVXManagerTool::TwistCollection,
                                       &collections[type]);
        auto* untwist = new TwistCommand("Handle Tool untwist Selection", Stage(), this,
                                         &KVXManagerTool::UntwistCollection, &collections[type]);
        MMResourceId script = TrayItemAt(rows, rows.FindRowByKey(kToolButtonRow[type]));
        if (type == kPaintBucketCollection) {
            auto* thread = new KVXColorChangingAnimationThread(
                Stage(), TrayPictureCollection(), reinterpret_cast<const uint8_t*>(&colorCell));
            auto* button = new KVXTwistingToolButton(this, script, selection, nullptr, nullptr,
                                                     kToolButtonLayer, 0, kButtonPriority, 1,
                                                     thread);
            button->BindSelectCommand(3, twist, twist->Clone());
            button->BindSecondCommand(4, untwist, untwist->Clone());
            buttons[type] = button;
        } else {
            buttons[type] = new KVXTwistingToolButton(this, script, selection, twist, untwist,
                                                      kToolButtonLayer, 0, kButtonPriority, 1);
        }
    }
    SelectCollection(currentType);
}

void KVXManagerTool::DeleteMolecules()
{
    UnbindMenuCommands();
    if (currentCollection != nullptr)
        currentCollection->DeleteMolecules();
    delete palette;
    palette = nullptr;
    for (int32_t type = 0; type < kToolCollectionTypes; ++type) {
        delete collections[type];
        delete buttons[type];
        collections[type] = nullptr;
        buttons[type] = nullptr;
    }
    delete previewPlane;
    delete previewBitmapA;
    delete previewBitmapB;
    previewPlane = nullptr;
    previewBitmapA = previewBitmapB = nullptr;
    currentCollection = nullptr;
    currentButton = nullptr;
    DeleteButtonSet(firstSizes);
    DeleteButtonSet(secondSizes);
    DeleteButtonSet(shapes);
    KVXSubScene::DeleteMolecules();
}

void KVXManagerTool::DeleteButtonSet(ButtonSet& set)
{
    for (KVXAnimatedToolSizeButton* button : set.buttons)
        delete button;
    set.buttons.clear();
    set.shown = false;
}

// Showing and hiding the size and shape buttons.

void KVXManagerTool::Show(ButtonSet& set)
{
    if (set.shown)
        return;
    for (KVXAnimatedToolSizeButton* button : set.buttons)
        button->SetDisabled(false);
    if (set.current >= 0 && set.current < int16_t(set.buttons.size()))
        Select(set.buttons[size_t(set.current)], false);
    set.shown = true;
}

void KVXManagerTool::Hide(ButtonSet& set)
{
    if (!set.shown)
        return;
    for (KVXAnimatedToolSizeButton* button : set.buttons)
        button->SetDisabled(true);
    set.shown = false;
}

void KVXManagerTool::SelectCurrent(ButtonSet& set, bool withSound)
{
    if (set.current >= 0 && set.current < int16_t(set.buttons.size()))
        Select(set.buttons[size_t(set.current)], withSound);
}

void KVXManagerTool::ShowSizeButtons() { Show(firstSizes); }
void KVXManagerTool::HideSizeButtons() { Hide(firstSizes); }
void KVXManagerTool::ShowSecondSizeButtons() { Show(secondSizes); }
void KVXManagerTool::HideSecondSizeButtons() { Hide(secondSizes); }
void KVXManagerTool::ShowShapeButtons() { Show(shapes); }
void KVXManagerTool::HideShapeButtons() { Hide(shapes); }

// Pressing a size or shape button.

void KVXManagerTool::PressButton(ButtonSet& set, KVXToolCollection** collection, int16_t n,
                                 bool sizes)
{
    if (n == set.current || (sizes && n >= int16_t(set.buttons.size())))
        return;
    if (collection == nullptr || *collection == nullptr)
        return;
    if (set.current >= 0 && set.current < int16_t(set.buttons.size())) {
        KVXAnimatedToolSizeButton* old = set.buttons[size_t(set.current)];
        if (!old->IsHidden())
            old->Reset();
    }
    (*collection)->SetSizeType(n);
    set.current = n;
}

void KVXManagerTool::HandleSizeButton(KVXToolCollection** collection, int16_t n)
{
    PressButton(firstSizes, collection, n, true);
}

void KVXManagerTool::HandleSecondSizeButton(KVXToolCollection** collection, int16_t n)
{
    PressButton(secondSizes, collection, n, true);
}

void KVXManagerTool::HandleShapeButton(KVXToolCollection** collection, int16_t n)
{
    PressButton(shapes, collection, n, false);
}

// Switching trays.

void KVXManagerTool::Switch(KVXToolCollection** collection,
                            KVXAnimatedToolButtonMolecule** button, int32_t type)
{
    currentType = type;
    if (currentCollection != nullptr) {
        currentCollection->DeleteMolecules();
    } else {
        HideSizeButtons();
        HideShapeButtons();
    }
    if (currentButton != nullptr)
        currentButton->Reset();
    currentButton = *button;
    currentCollection = *collection;
}

void KVXManagerTool::ActivateCollection(KVXToolCollection** collection,
                                        KVXAnimatedToolButtonMolecule** button, int32_t type)
{
    Switch(collection, button, type);
    if (currentCollection == nullptr)
        return;
    currentCollection->Begin();
    HandleSizeButton(&currentCollection, currentCollection->SizeType());
    currentCollection->Opened();
    if (type != kShapeCollection) {
        SelectCurrent(shapes, true);
        SelectCurrent(firstSizes, true);
        SelectCurrent(secondSizes, true);
    } else {
        SelectCurrent(shapes, true);
    }
}

void KVXManagerTool::ActivateShapeCollection(KVXToolCollection** collection,
                                             KVXAnimatedToolButtonMolecule** button,
                                             int32_t type)
{
    ActivateCollection(collection, button, type);
}

void KVXManagerTool::ActivateSlateCollection(KVXToolCollection** collection,
                                             KVXAnimatedToolButtonMolecule** button,
                                             int32_t type)
{
    Switch(collection, button, type);
    if (currentCollection != nullptr)
        currentCollection->Begin();
}

void KVXManagerTool::SelectCollection(int32_t type)
{
    if (type < 1 || type >= kToolCollectionTypes)
        type = 0;
    if (type == kShapeCollection)
        ActivateShapeCollection(&collections[type], &buttons[type], type);
    else if (type == kMagicSlateCollection)
        ActivateSlateCollection(&collections[type], &buttons[type], type);
    else
        ActivateCollection(&collections[type], &buttons[type], type);
    if (currentButton != nullptr)
        currentButton->Select(true);
}

void KVXManagerTool::TwistCollection(KVXToolCollection** collection)
{
    if (collection != nullptr && *collection != nullptr)
        (*collection)->ResetModifiers();
}

void KVXManagerTool::UntwistCollection(KVXToolCollection** collection)
{
    if (collection != nullptr && *collection != nullptr)
        (*collection)->ReselectCurrent();
}

// Colours.

void KVXManagerTool::ColorChosen()
{
    if (palette == nullptr)
        return;
    colorCell = *palette->CurrentColor();
    if (currentCollection != nullptr)
        currentCollection->StoreOwnerValue(&colorCell);
}

void KVXManagerTool::NotifyPaletteMolecule(uint32_t colour)
{
    if (palette != nullptr)
        palette->SetColor(colour);
}

void KVXManagerTool::NotifyCurrentCollection(int32_t value)
{
    if (currentCollection != nullptr)
        currentCollection->ForwardToCurrentTool(value);
}

void KVXManagerTool::RefreshCollectionModifiers()
{
    if (currentCollection != nullptr)
        currentCollection->TextureChanged();
}

// Menu commands.

void KVXManagerTool::BindMenuCommands()
{
    MMStage* stage = Stage();
    if (stage == nullptr)
        return;
    stage->BindMenuCommand(kTweaksOff, new MMClassCommand<KVXManagerTool>(
                                           "tweaks on", stage, this, &KVXManagerTool::DoNothing));
    stage->BindMenuCommand(kTweaksOn,
                           new MMClassCommand<KVXManagerTool>("tweaks on", stage, this,
                                                              &KVXManagerTool::RestartCurrentTool));
    stage->BindMenuCommand(kImportImage,
                           new MMClassCommand<KVXManagerTool>("Import Image", stage, this,
                                                              &KVXManagerTool::ImportImage));
    for (int16_t size = 0; size < kToolSizes; ++size)
        stage->BindMenuCommand(kToolSizeFirst + size,
                               new ToolSizeCommand("tool Size", stage, this,
                                                   &KVXManagerTool::SetCurrentToolSize, size));
}

void KVXManagerTool::UnbindMenuCommands()
{
    MMStage* stage = Stage();
    if (stage == nullptr)
        return;
    stage->UnbindMenuCommand(kTweaksOff);
    stage->UnbindMenuCommand(kTweaksOn);
    stage->UnbindMenuCommand(kImportImage);
    for (int16_t size = 0; size < kToolSizes; ++size)
        stage->UnbindMenuCommand(kToolSizeFirst + size);
}

void KVXManagerTool::SetCurrentToolSize(int16_t size)
{
    if (KVXToolBase* tool = CurrentTool())
        tool->SetSizeType(size);
}

void KVXManagerTool::RestartCurrentTool()
{
    if (currentType == kMagicSlateCollection)
        return;
    if (auto* tool = dynamic_cast<KVXToolStd*>(CurrentTool())) {
        tool->DeleteMolecules();
        tool->Begin();
    }
}

void KVXManagerTool::ImportImage()
{
    if (gApp != nullptr)
        gApp->StartTwain();
}

// Keys.

KVXBaseRopeToolInterpreter* KVXManagerTool::RopeSelection() const
{
    if (currentType != kRopeCollection)
        return nullptr;
    auto* rope = dynamic_cast<RopeTool*>(CurrentTool());
    auto* interpreter =
        rope != nullptr ? dynamic_cast<KVXBaseRopeToolInterpreter*>(rope->Interpreter()) : nullptr;
    return interpreter != nullptr && interpreter->HasSelection() && interpreter->Visual() != nullptr
               ? interpreter
               : nullptr;
}

bool KVXManagerTool::HandleRopeKey(uint16_t code)
{
    static const struct {
        uint16_t code;
        Pair step;
    } kArrows[] = {{kRopeKeyLeft, {-1, 0}}, {kRopeKeyRight, {1, 0}}, {kRopeKeyUp, {0, -1}}, {kRopeKeyDown, {0, 1}}};
    KVXBaseRopeToolInterpreter* rope = RopeSelection();
    if (rope == nullptr)
        return false;
    if (code == kRopeKeyDelete || code == kRopeKeyBackspace) {
        rope->RemoveSelectionControls();
        rope->EndSelection(false);
        return true;
    }
    for (const auto& arrow : kArrows) {
        if (arrow.code != code)
            continue;
        const Box& box = rope->Selection().GetBox();
        rope->MoveSelectionTo({box.left + arrow.step.x, box.top + arrow.step.y});
        rope->PlaceSelectionControls();
        return true;
    }
    return false;
}

bool KVXManagerTool::HandleZoomKey(char c)
{
    if (c != '<' && c != '>')
        return false;
    if (!CreationZoomShown(this))
        return false;
    if (CreationZoomed(this) == (c == '<'))
        ToggleCreationZoom(this);
    return true;
}

bool KVXManagerTool::HandleKey(uint32_t keyData)
{
    MMStageEvent event = {kStageEventKey, 0, 0, 0, 0, keyData};
    uint16_t code = event.KeyCommand();
    if (code != 0 ? HandleRopeKey(code) : HandleZoomKey(char(event.CharLow())))
        return true;
    return KVXSubScene::HandleKey(keyData);
}
