#pragma once
// Engine start-up and shut-down. The start-up binds the tablet library,
// chooses the row blitters for the processor, opens every resource file the
// string table names (from the first search folder that has it) and starts
// the engine's two pulse-task managers; a failure undoes all of it. The
// shut-down, at the end of the run, undoes it too.
#include "framework/folders.h"
#include "framework/uu_list.h"

// String groups naming the resource files, index 0 upward.
enum : int {
    kScriptFileGroup = 650,
    kPictureFileGroup = 651,
    kSoundFileGroup = 652,
    kFilmFileGroup = 656,
};

bool EngineStartUp();
void EngineShutDown();
// Whether a second folder (a CD's) is searched too: never.
bool UseSecondResourceFolder();
// The folders searched for resource files, in order.
UUList<FSDirectory*>& MMSearchFolders();
