#pragma once
// DirectSound's declarations, with the headers they need that a lean
// Windows header leaves out.
#include <windows.h>
#include <mmsystem.h>
#include <objbase.h>
#include <dsound.h>
