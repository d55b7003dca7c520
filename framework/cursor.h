#pragma once
#include <windows.h>

// A Windows cursor of the framework or the program. The handle is shared
// (system and resource cursors) and never destroyed here.
class AFCursor {
public:
    AFCursor() : loaded(false), cursor(nullptr) {}
    virtual ~AFCursor() {}

    bool LoadStandard(LPCSTR name, bool fromSystem);
    bool LoadAnimated(int id);
    void MakeEmpty();
    void Show() const;

    bool loaded;
    HCURSOR cursor;
};

// The framework's four cursors: arrow, I-beam, wait and the empty one that
// hides the pointer.
class AFCursorSet {
public:
    AFCursorSet() : arrow(nullptr), iBeam(nullptr), wait(nullptr), empty(nullptr) {}
    ~AFCursorSet() { Free(); }

    bool Load();
    void Free();

    AFCursor* arrow;
    AFCursor* iBeam;
    AFCursor* wait;
    AFCursor* empty;
};

extern AFCursorSet* gCursorSet;
