#include <windows.h>

#include "shell/entry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunAtelier(instance);
}
