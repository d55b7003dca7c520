#pragma once
// The ids of the main window's menu items and shortcuts.
#include <cstdint>

enum : int32_t {
    kMenuTwainBitmapReady = 7,
    kMenuTwainShutDown = 10,
    kMenuImportedPicture = 10000,
    kMenuAbout = 12801,
    kMenuPrinterSetup = 12901,
    kMenuPrint = 12902,
    kMenuImport = 12904,
    kMenuQuit = 12906,
    kMenuVolume0 = 13001,
    kMenuVolume7 = 13008,
    kMenuVolumeUp = 13009,
    kMenuVolumeDown = 13010,
    kMenuAutoSave = 13101,
    kMenuPrinting = 13102,
    kMenuFancyPrinting = 13103,
    kMenuTrashCan = 13104,
    kMenuDuplicate = 13105,
    kMenuRelativeTablet = 13106,
    kMenuUndo = 13201,
    kMenuDisplayWindowed = 13401,
    kMenuDisplayFull = 13402,
    kMenuEscape = 13501,
    kMenuGroupSeparator = 13502,
    kMenuControlSpace = 13601,
    kMenuCloseQuit = 13701,
};

const int kAcceleratorTable = 171;
