#pragma once
// Scenes: one screen of the program, holding its molecules, the keyboard
// focus and the molecules that asked to be told of stage events.
#include <cstdint>
#include <vector>

#include "engine/stage_event.h"

class MMStage;
class MMMolecule;
class MMEnclosure;
class MMMouseInterpreter;

enum MMNotificationKind : int32_t {
    kNotifyStagePaused = 0,
    kNotifyStageResumed = 1,
    kNotifyFrameStarting = 2,
    kNotifyFrameDone = 3,
};

class MMBaseScene {
public:
    struct NotificationRegistration {
        MMMolecule* molecule;
        int32_t kind;
    };

    MMBaseScene();
    virtual ~MMBaseScene();
    MMBaseScene(const MMBaseScene&) = delete;
    MMBaseScene& operator=(const MMBaseScene&) = delete;

    virtual void Begin() = 0;                                            // 1
    virtual void DeleteMolecules();                                      // 2
    virtual bool FindTarget(const MMStageEvent& event, MMMouseInterpreter** interpreter,
                            MMEnclosure** enclosure);                    // 3
    virtual bool HandleKey(uint32_t keyData);                            // 4
    virtual bool HandleMenuCommand(int32_t id);                          // 5
    virtual MMStage* Stage() = 0;                                        // 6
    virtual MMEnclosure* TopEnclosure() = 0;                             // 7
    virtual void NotifyStagePaused();                                    // 8
    virtual void NotifyStageResumed();                                   // 9
    virtual void NotifyFrameStarting();                                  // 10
    virtual void NotifyFrameDone();                                      // 11
    virtual void TakeKeyboardFocus() = 0;                                // 12

    void AddMolecule(MMMolecule* molecule);
    void RemoveMolecule(MMMolecule* molecule);
    void SetFocus(MMMolecule* molecule);
    MMMolecule* Focus() const { return focus_; }
    const std::vector<MMMolecule*>& Molecules() const { return molecules_; }

    void AddNotificationRegistration(MMMolecule* molecule, int32_t kind);
    void RemoveNotificationRegistration(MMMolecule* molecule, int32_t kind);
    bool HasNotificationRegistration(MMMolecule* molecule, int32_t kind) const;
    bool HasAnyNotificationRegistration(MMMolecule* molecule) const;
    bool IsNotifying() const { return notifying_; }

protected:
    void Notify(int32_t kind);

    MMMolecule* focus_ = nullptr;
    std::vector<MMMolecule*> molecules_;
    std::vector<NotificationRegistration> registrations_;
    bool notifying_ = false;
};

class MMScene : public MMBaseScene {
public:
    explicit MMScene(MMStage* stage);
    ~MMScene() override;

    MMStage* Stage() override { return stage_; }
    MMEnclosure* TopEnclosure() override;
    void TakeKeyboardFocus() override;

protected:
    MMStage* stage_;
};
