#pragma once
// The stage's cursor: the one requested by the interpreter under the pointer,
// or the wait cursor while any busy level is pushed.
#include <cstdint>

class AFCursor;
class MMStage;

class MMCursor {
public:
    MMCursor() = default;
    explicit MMCursor(AFCursor* image) : image_(image) {}
    virtual ~MMCursor();
    MMCursor(const MMCursor&) = delete;
    MMCursor& operator=(const MMCursor&) = delete;

    virtual void Activate() {}    // 1: became the shown cursor
    virtual void Deactivate() {}  // 2: stopped being shown

    void SetImage(AFCursor* image);   // not owned
    void TakeImage(AFCursor* image);  // owned
    void FreeImage();
    AFCursor* Image() const { return image_; }

private:
    AFCursor* image_ = nullptr;
    bool ownsImage_ = false;
};

class MMStageCursorSet {
public:
    explicit MMStageCursorSet(MMStage* stage);
    ~MMStageCursorSet();
    MMStageCursorSet(const MMStageCursorSet&) = delete;
    MMStageCursorSet& operator=(const MMStageCursorSet&) = delete;

    void SetCursor(MMCursor* cursor);
    void Refresh();
    void PushBusy();
    void PopBusy();
    void Show(MMCursor* cursor);
    void SetCursorImage(MMCursor* cursor, AFCursor* image);
    void ReplaceCursorImage(MMCursor* cursor, AFCursor* image);

    int16_t BusyCount() const { return busyCount_; }
    MMCursor* Requested() const { return requested_; }
    MMCursor* Shown() const { return shown_; }
    MMCursor* Arrow() const { return arrow_; }
    MMCursor* IBeam() const { return iBeam_; }
    MMCursor* Wait() const { return wait_; }
    MMCursor* Empty() const { return empty_; }
    MMStage* Stage() const { return stage_; }

private:
    int16_t busyCount_ = 0;
    MMCursor* requested_ = nullptr;
    MMCursor* shown_ = nullptr;
    MMCursor* arrow_;
    MMCursor* iBeam_;
    MMCursor* wait_;
    MMCursor* empty_;
    MMStage* stage_;
};
