#pragma once
// What the stamp manager asks of the painting screen that owns it: its stamp
// and play buttons, its change state, the current page of the sketchbook
// list and its radio. The painting screen implements it and hands it to its
// stamp manager (KVXStampManager::SetSceneLink); every answer has a quiet
// default, so a manager without a screen (pages, printing) needs none.
#include <cstdint>

class KVXStampBase;

enum : int16_t { kRadioIdle = 3 };

class KVXStampSceneLink {
public:
    virtual ~KVXStampSceneLink() = default;

    virtual bool UpdateStampButtons() { return true; }
    virtual void UpdatePlayButtons() {}
    // The picture was changed by a stamp (moved, mirrored, glued).
    virtual void AdvanceChangeState() {}
    virtual void MarkCurrentPageModified() {}
    // The sketchbook list's page genre, stored with force.
    virtual void UpdatePageGenre(int16_t genre) {}

    // The radio: false when the screen has none.
    virtual bool HasRadio() const { return false; }
    // Four words: state, station, volume, state again.
    virtual void SaveRadio(int16_t words[4]) {}
    // The first word is not used.
    virtual void LoadRadio(const int16_t words[4]) {}
    virtual int16_t RadioState() const { return kRadioIdle; }
    virtual int16_t RadioStation() const { return 0; }
    virtual void SelectStation(int16_t station) {}
    virtual void LeaveIdleState() {}
    virtual void AddPlayableStamp() {}
    virtual void RemovePlayableStamp() {}
    virtual void StopStampPlay() {}
    virtual void RefreshRadio() {}
    // Whether a state flag of the application's stage asks the drawer to
    // stay as it is when stamp mode ends.
    virtual bool KeepDrawerOnEnd() const { return false; }
};
