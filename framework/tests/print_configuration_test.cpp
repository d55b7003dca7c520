#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "fake_printer_calls.h"
#include "framework/pending_error.h"
#include "framework/print_configuration.h"
#include "framework/window.h"

namespace {

const AFWindowClass kOwnerClass = {
    0, 0, 0, false, nullptr, nullptr, false, IDC_ARROW,
    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, "PrintDialogOwner", &AFWindow::WindowProc,
};

AFWindowCreation OwnerCreation()
{
    RegisterWindowClass(kOwnerClass);
    return {&kOwnerClass, Box{20, 20, 220, 120}, WS_OVERLAPPEDWINDOW, 0};
}

class OwnerWindow : public AFWindow {
public:
    OwnerWindow() : AFWindow(OwnerCreation(), nullptr) {}
    bool CanClose() override { return true; }
};

DEVMODEA ModeOf(const AFPrintConfiguration& configuration)
{
    DEVMODEA copy = *static_cast<DEVMODEA*>(GlobalLock(configuration.DeviceMode()));
    GlobalUnlock(configuration.DeviceMode());
    return copy;
}

bool IsFreed(HGLOBAL handle)
{
    return GlobalFlags(handle) == GMEM_INVALID_HANDLE;
}

// A configuration of the machine's default printer whose driver is faked.
class FakeDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        calls.fakeResolutions = true;
        ASSERT_TRUE(configuration.HasPrinter());
    }
    FakePrinterCalls calls;
    AFPrintConfiguration configuration;
};

}  // namespace

TEST(PrintConfiguration, HoldsTheDefaultPrinter)
{
    AFPrintConfiguration configuration;
    ASSERT_TRUE(configuration.HasPrinter());
    AFDeviceNames names(configuration.DeviceNames());
    ASSERT_TRUE(names.IsValid());
    EXPECT_STREQ("wineps.drv", names.Driver());
    EXPECT_EQ(std::string("CUPS:") + names.Device(), names.Port());

    HDC printer = configuration.CreateDeviceContext();
    ASSERT_NE(nullptr, printer);
    EXPECT_EQ(DT_RASPRINTER, GetDeviceCaps(printer, TECHNOLOGY));
    DeleteDC(printer);

    int count = configuration.ResolutionCount();
    ASSERT_GT(count, 0);
    POINT pairs[AFPrintConfiguration::kMaxResolutions];
    ASSERT_TRUE(configuration.GetResolutions(count, pairs));
    for (int i = 0; i < count; ++i) {
        EXPECT_GE(pairs[i].x, 1);
        EXPECT_GE(pairs[i].y, 1);
    }
}

TEST(PrintConfiguration, SetLandscapeFalseMakesALandscapeModePortrait)
{
    AFPrintConfiguration configuration;
    ASSERT_TRUE(configuration.HasPrinter());
    auto* mode = static_cast<DEVMODEA*>(GlobalLock(configuration.DeviceMode()));
    mode->dmOrientation = DMORIENT_LANDSCAPE;
    mode->dmFields &= ~DM_ORIENTATION;
    GlobalUnlock(configuration.DeviceMode());

    EXPECT_TRUE(configuration.SetLandscape(false));
    DEVMODEA after = ModeOf(configuration);
    EXPECT_EQ(DMORIENT_PORTRAIT, after.dmOrientation);
    EXPECT_TRUE(after.dmFields & DM_ORIENTATION);

    EXPECT_TRUE(configuration.SetLandscape(true));
    EXPECT_EQ(DMORIENT_LANDSCAPE, ModeOf(configuration).dmOrientation);
}

TEST(PrintConfiguration, NoDefaultPrinterHoldsNothingAndDoesNothing)
{
    ClearPendingError();
    FakePrinterCalls calls;
    calls.answer = [](PRINTDLGA*) { return FALSE; };
    AFPrintConfiguration configuration;
    ASSERT_EQ(1u, calls.dialogs.size());
    EXPECT_EQ(static_cast<DWORD>(PD_RETURNDEFAULT), calls.dialogs[0].Flags);
    EXPECT_EQ(sizeof(PRINTDLGA), calls.dialogs[0].lStructSize);
    EXPECT_FALSE(configuration.HasPrinter());
    EXPECT_EQ(nullptr, configuration.DeviceNames());
    EXPECT_FALSE(IsErrorPending());

    // Nothing to lock: nothing happens.
    EXPECT_FALSE(configuration.SetLandscape(true));
    EXPECT_FALSE(configuration.SetResolution(300, 300));
    EXPECT_EQ(0, configuration.ResolutionCount());
    POINT pair;
    EXPECT_FALSE(configuration.GetResolutions(1, &pair));
    EXPECT_FALSE(configuration.UseBestSquareResolution());
    EXPECT_EQ(nullptr, configuration.CreateDeviceContext());
}

TEST(PrintConfiguration, NamesWithoutADeviceModeAreFreed)
{
    HGLOBAL names = MakeDeviceNames("wineps.drv", "Nowhere", "CUPS:Nowhere");
    FakePrinterCalls calls;
    calls.answer = [names](PRINTDLGA* record) {
        record->hDevNames = names;
        return TRUE;
    };
    AFPrintConfiguration configuration;
    EXPECT_FALSE(configuration.HasPrinter());
    EXPECT_EQ(nullptr, configuration.DeviceNames());
    EXPECT_TRUE(IsFreed(names));
}

TEST(PrintConfiguration, DestructorFreesEveryHeldHandle)
{
    HGLOBAL names = MakeDeviceNames("wineps.drv", "Nowhere", "CUPS:Nowhere");
    {
        FakePrinterCalls calls;
        calls.answer = [](PRINTDLGA*) { return FALSE; };
        AFPrintConfiguration configuration;
        configuration.TakeHandles(nullptr, names);
        EXPECT_FALSE(IsFreed(names));
    }
    EXPECT_TRUE(IsFreed(names));
}

TEST(PrintConfiguration, SetupDialogNeedsAnOwnerAndKeepsWhatItHandsBack)
{
    AFPrintConfiguration configuration;
    ASSERT_TRUE(configuration.HasPrinter());
    FakePrinterCalls calls;
    calls.answer = [](PRINTDLGA*) { return TRUE; };
    EXPECT_FALSE(configuration.RunSetupDialog());
    EXPECT_TRUE(calls.dialogs.empty());

    OwnerWindow owner;
    configuration.SetOwnerWindow(&owner);
    HGLOBAL heldMode = configuration.DeviceMode();
    HGLOBAL heldNames = configuration.DeviceNames();
    HGLOBAL newMode = CopyGlobal(heldMode);
    HGLOBAL newNames = CopyGlobal(heldNames);
    calls.answer = [&](PRINTDLGA* record) {
        // The user changes the printer, then cancels.
        GlobalFree(record->hDevMode);
        GlobalFree(record->hDevNames);
        record->hDevMode = newMode;
        record->hDevNames = newNames;
        return FALSE;
    };
    EXPECT_FALSE(configuration.RunSetupDialog());
    ASSERT_EQ(1u, calls.dialogs.size());
    const PRINTDLGA& shown = calls.dialogs[0];
    EXPECT_EQ(static_cast<DWORD>(PD_PRINTSETUP), shown.Flags);
    EXPECT_EQ(owner.window, shown.hwndOwner);
    EXPECT_EQ(heldMode, shown.hDevMode);
    EXPECT_EQ(heldNames, shown.hDevNames);
    EXPECT_EQ(newMode, configuration.DeviceMode());
    EXPECT_EQ(newNames, configuration.DeviceNames());

    calls.answer = [](PRINTDLGA*) { return TRUE; };
    EXPECT_TRUE(configuration.RunSetupDialog());
}

TEST_F(FakeDriver, MoreThan100ResolutionsCountAsNone)
{
    calls.resolutions.assign(120, {300, 300});
    EXPECT_EQ(0, configuration.ResolutionCount());
    POINT pairs[AFPrintConfiguration::kMaxResolutions];
    EXPECT_FALSE(configuration.GetResolutions(100, pairs));
    EXPECT_FALSE(configuration.UseBestSquareResolution());
}

TEST_F(FakeDriver, ResolutionsOutOfRangeFail)
{
    for (LONG bad : {0L, -5L, 30001L}) {
        calls.resolutions = {{300, 300}, {600, bad}};
        POINT pairs[2];
        EXPECT_EQ(2, configuration.ResolutionCount());
        EXPECT_FALSE(configuration.GetResolutions(2, pairs)) << bad;
    }
    calls.resolutions = {{30000, 1}};
    POINT pair;
    EXPECT_TRUE(configuration.GetResolutions(1, &pair));
}

TEST_F(FakeDriver, NeverMorePairsThanTheDriverGave)
{
    calls.resolutions = {{300, 300}, {600, 600}};
    calls.countAnswer = 3;  // it counts more than it then hands out
    POINT pairs[3] = {};
    EXPECT_FALSE(configuration.GetResolutions(3, pairs));
    calls.countAnswer = -1;
    EXPECT_FALSE(configuration.GetResolutions(3, pairs));
    ASSERT_TRUE(configuration.GetResolutions(2, pairs));
    EXPECT_EQ(600, pairs[1].x);
    EXPECT_EQ(600, pairs[1].y);
}

TEST_F(FakeDriver, BestSquareResolutionIsTheLargestSquare)
{
    calls.resolutions = {{300, 300}, {1200, 600}, {600, 600}, {150, 150}};
    ASSERT_TRUE(configuration.UseBestSquareResolution());
    DEVMODEA mode = ModeOf(configuration);
    EXPECT_EQ(600, mode.dmPrintQuality);
    EXPECT_EQ(600, mode.dmYResolution);
    EXPECT_EQ(static_cast<DWORD>(DM_PRINTQUALITY | DM_YRESOLUTION),
              mode.dmFields & (DM_PRINTQUALITY | DM_YRESOLUTION));

    // Without a square one the driver's choice stays.
    calls.resolutions = {{1200, 600}};
    EXPECT_FALSE(configuration.UseBestSquareResolution());
    EXPECT_EQ(600, ModeOf(configuration).dmPrintQuality);
}
