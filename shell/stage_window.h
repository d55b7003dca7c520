#pragma once
// The main window: the stage window whose menu marks follow the settings.
#include "engine/stage_window.h"

class KVXStageWindow : public MMStageWindow {
public:
    explicit KVXStageWindow(const AFWindowCreation& creation) : MMStageWindow(creation) {}

    void InitMenu() override;

    // Set while a message box or a print job is up over the window.
    void SetModalBox(bool on) { modalBox = on; }
    bool ModalBox() const { return modalBox; }

private:
    volatile bool modalBox = false;
};
