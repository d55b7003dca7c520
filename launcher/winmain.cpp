#include "launcher/launcher.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    MessageBoxSetupAlert alert;
    RunLauncher(alert);
    return 0;
}
