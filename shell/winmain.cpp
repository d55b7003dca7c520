#include <windows.h>

#include "framework/application.h"
#include "framework/heap.h"
#include "framework/pending_error.h"
#include "framework/window.h"

// A small application object that runs the framework's cycle with one main
// window until the window is closed.

namespace {

const AFWindowClass kMainWindowClass = {
    CS_OWNDC | CS_DBLCLKS,
    0,
    0,
    true,
    MAKEINTRESOURCEA(550),
    MAKEINTRESOURCEA(550),
    false,
    IDC_ARROW,
    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
    nullptr,
    "PennaroWindowClass",
    &AFWindow::WindowProc,
};

class MainWindow : public AFWindow {
public:
    explicit MainWindow(const AFWindowCreation& creation) : AFWindow(creation, nullptr) {}
    bool CanClose() override { return true; }
};

class AtelierApplication : public AFApplication {
public:
    explicit AtelierApplication(Heap* heap) : AFApplication(heap) {}

    bool OpenDefault() override
    {
        AFWindowCreation creation = {&kMainWindowClass, Box{40, 40, 840, 640},
                                     WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0};
        MainWindow* window = new (gDefaultHeap) MainWindow(creation);
        if (!window)
            return FailWithoutError();
        if (!window->window) {
            delete window;
            return FailWithoutError();
        }
        window->SetTitle("Pennaro");
        window->Show(true);
        return true;
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    AFHeap heap;
    int result;
    {
        AtelierApplication application(&heap);
        result = application.Run() ? 0 : 1;
    }
    return result;
}
