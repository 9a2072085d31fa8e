// The input object on the fake backend: creation failures, keys, the mouse's event buffer and drain
// rules, the cursor, and the exports with and without an input object.
#include "fake_fixture.h"
#include "platform/devices/direct_input.h"

namespace vxl::testing {
namespace {

using platform::DeviceCall;
using platform::DeviceKind;
using Input = FakeTest;
using V = std::vector<int32_t>;  // readings, taken left to right

constexpr platform::HResult kLost = platform::DIERR_INPUTLOST;

TEST_F(Input, EachCreationFailureIsReportedWithItsOperationAndTheDisplayStays) {
    using K = DeviceKind;
    using C = DeviceCall;
    // The failing call of a kind of device after `skip` calls of it that succeed, and its operation: a
    // sample of each device's steps.
    const std::tuple<K, C, int, const char*> cases[] = {
        {K::Keyboard, C::CreateDevice, 0, "CreateDeviceK"},  {K::Keyboard, C::Acquire, 0, "AcquireK"},
        {K::Mouse, C::SetProperty, 0, "SetPropertyM"},       {K::Joystick, C::SetDataFormat, 0, "SetDataFormatJ"},
        {K::Joystick, C::SetProperty, 1, "SetPropertyJ2"},    {K::Joystick, C::SetProperty, 2, "SetPropertyJ3"},
    };
    for (const auto& [kind, call, skip, op] : cases) {
        TearDown();  // each row starts afresh
        SetUp();
        fake_->joystick = true;
        fake_->FailDevice(kind, call, kLost, 1, skip);
        ExpectFatal(std::string("[TInputVx]") + op + " -> " + DirectInputResultText(kLost), [&] { OpenWindowed(); });
        EXPECT_EQ(VexelSizeX(), 320) << op;
        EXPECT_EQ(TheLibrary().input, nullptr) << op;
    }
    fake_->Fail(platform::PlatformCall::DirectInputCreate, 0x80040154);
    ExpectFatal("[TInputVx]DirectInputCreate -> The device or class is not registered.", [&] { OpenWindowed(); });
}

TEST_F(Input, JoystickIsPreparedNotAcquiredAndItsAbsenceOrFailureToAppearIsNoError) {
    OpenWindowed();
    EXPECT_FALSE(TheLibrary().input->joystick_present());
    fake_->joystick = true;
    fake_->FailDevice(DeviceKind::Joystick, DeviceCall::CreateDevice, 0x80004005);
    OpenWindowed();
    EXPECT_FALSE(TheLibrary().input->joystick_present());

    fake_->joystick_buttons = 3;
    fake_->FailDevice(DeviceKind::Joystick, DeviceCall::GetObjectInfo, 0x80004005, 1, 1);  // button 1 unnamed
    OpenWindowed();
    const TInputVx& input = *TheLibrary().input;
    ASSERT_TRUE(input.joystick_present());
    EXPECT_EQ(input.button_names(), (std::vector<std::string>{"Button 0", "Button 2"}));
    EXPECT_EQ(fake_->DeviceCalls(DeviceKind::Joystick, DeviceCall::GetObjectInfo), 32);
    const platform::InputDevice& j = *input.joystick();
    EXPECT_EQ(std::tuple(j.acquired(), j.range_min(), j.range_max(), j.dead_zone(), j.saturation()),
              std::tuple(false, -10000, 10000, 2000u, 9500u));
}

// Inkey answers only for the exact pressed byte and takes the low byte of the code. A lost keyboard
// answers false once and is reacquired, within a bound when it stays lost.
TEST_F(Input, InkeyAndTheLostKeyboard) {
    OpenWindowed();
    EXPECT_EQ(Inkey(VXL_KEY_ESCAPE), 0);
    fake_->Key(VXL_KEY_ESCAPE, true);
    platform::DeliverDeviceEvent({platform::DeviceEvent::Kind::Key, VXL_KEY_UP, 0x81});
    EXPECT_EQ(V({Inkey(VXL_KEY_ESCAPE), Inkey(0x100 | VXL_KEY_ESCAPE), Inkey(VXL_KEY_SPACE), Inkey(VXL_KEY_UP)}),
              V({-1, -1, 0, 0}));
    const int acquires = fake_->DeviceCalls(DeviceKind::Keyboard, DeviceCall::Acquire);
    fake_->FailDevice(DeviceKind::Keyboard, DeviceCall::GetDeviceState, kLost);
    EXPECT_EQ(V({Inkey(VXL_KEY_ESCAPE), Inkey(VXL_KEY_ESCAPE)}), V({0, -1}));
    EXPECT_EQ(fake_->DeviceCalls(DeviceKind::Keyboard, DeviceCall::Acquire), acquires + 1);
    fake_->FailDevice(DeviceKind::Keyboard, DeviceCall::GetDeviceState, kLost);
    fake_->FailDevice(DeviceKind::Keyboard, DeviceCall::Acquire, kLost, 1000000);
    EXPECT_EQ(Inkey(VXL_KEY_ESCAPE), 0);
    EXPECT_LT(fake_->DeviceCalls(DeviceKind::Keyboard, DeviceCall::Acquire), acquires + 100);
    fake_->Key(VXL_KEY_ESCAPE, false);
    EXPECT_EQ(Inkey(VXL_KEY_ESCAPE), 0);
}

// Each reader drains the mouse's buffer: motion takes the last event of an axis (not the sum) and
// clears only what it read; buttons follow their events in order; the wheel and a fourth button are
// not read; a batch of more events than the buffer holds (16) is dropped, the previous values kept.
TEST_F(Input, MouseReadersDrainTheEventBuffer) {
    OpenWindowed();
    const auto x = [&](int32_t d, int times = 1) {
        for (int i = 0; i < times; ++i) fake_->MouseMotion(0, d);
    };
    x(3), x(5), fake_->MouseMotion(1, -2);
    EXPECT_EQ(V({MouseAX(), MouseAX(), MouseAY()}), V({5, 0, -2}));
    x(7), fake_->MouseMotion(1, 8), fake_->MouseMotion(2, 120);
    int32_t dx = 1, dy = 1, l = 0, m = 0, r = 0;
    GetMouseAccel(&dx, &dy);
    EXPECT_EQ(V({dx, dy, MouseAX(), MouseAY()}), V({7, 8, 0, 0}));

    x(4);
    for (auto [button, down] : {std::pair{0, true}, {1, true}, {2, true}, {2, false}, {3, true}})
        fake_->MouseButton(uint8_t(button), down);
    GetMouseButtons(&l, &m, &r);
    EXPECT_EQ(V({l, m, r, MouseMiddle(), MouseRight()}), V({-1, 0, -1, 0, -1}));

    fake_->MouseButton(0, false), x(9, 16);  // 17 events
    EXPECT_EQ(V({MouseLeft(), MouseAX()}), V({-1, 4}));
    x(1, 15), x(6);  // exactly full is no overflow
    EXPECT_EQ(MouseAX(), 6);
}

TEST_F(Input, CursorIsInClientCoordinatesUnclampedAndSetTheSameWay) {
    OpenWindowed();  // client area at (100, 80)
    fake_->cursor_x = 50;
    fake_->cursor_y = 500;
    EXPECT_EQ(V({MouseX(), MouseY()}), V({-50, 420}));
    SetMousePos(INT32_MAX, INT32_MIN);  // saturates instead of wrapping
    EXPECT_EQ(V({fake_->cursor_x, fake_->cursor_y}), V({INT32_MAX, INT32_MIN + 80}));
    fake_->cursor_x = INT32_MIN;
    EXPECT_EQ(MouseX(), INT32_MIN);
}

// Full screen, the cursor is in the mode's pixels across the letterbox: a 640x480 mode on a 1280x768
// desktop shows at 1.6 times from (128, 0), with bars left and right.
TEST_F(Input, FullScreenCursorCrossesTheLetterboxBothWays) {
    fake_->desktop_width = 1280;
    OpenFullScreen(640, 480, 32);
    // desktop x, y, then the position read
    const int32_t rows[][4] = {{128, 0, 0, 0},      {1128, 732, 625, 457}, {1151, 767, 639, 479}, {127, 767, -1, 479},
                               {1152, 0, 640, 0},   {0, 0, -80, 0},        {1279, -16, 719, -10}};
    for (const auto& r : rows) {
        fake_->cursor_x = r[0];
        fake_->cursor_y = r[1];
        int32_t x = 0, y = 0;
        GetMousePos(&x, &y);
        EXPECT_EQ(V({x, y}), V({r[2], r[3]})) << r[0] << "," << r[1];
    }
    SetMousePos(625, 457);
    EXPECT_EQ(V({fake_->cursor_x, fake_->cursor_y}), V({1128, 732}));
    for (int32_t x = -3; x < 643; ++x) {  // every column reads back as set, bars included
        SetMousePos(x, x * 3 / 4);
        ASSERT_EQ(V({MouseX(), MouseY()}), V({x, x * 3 / 4}));
    }
}

// Without an input object queries answer zero; each display replaces it, and closing leaves it.
TEST_F(Input, TheInputObjectFollowsTheDisplays) {
    fake_->Key(VXL_KEY_A, true);
    fake_->cursor_x = 5;
    int32_t a = 7, b = 7, c = 7;
    GetMouseButtons(&a, &b, &c);
    EXPECT_EQ(V({Inkey(VXL_KEY_A), MouseX(), MouseLeft(), a, b, c}), V({0, 0, 0, 0, 0, 0}));
    SetMousePos(1, 1);
    EXPECT_EQ(fake_->cursor_x, 5);

    OpenWindowed();
    fake_->MouseMotion(0, 3);
    InitVexel(fake_->AddWindow(300, 200, 50, 50), 320, 240, 0, 0);
    fake_->cursor_x = 310;
    EXPECT_EQ(V({MouseAX(), MouseX()}), V({0, 10}));  // the old mouse's buffer went with it
    CloseVexel();
    fake_->Key(VXL_KEY_B, true);
    fake_->MouseMotion(0, 2);
    EXPECT_EQ(V({Inkey(VXL_KEY_B), MouseAX()}), V({-1, 2}));
}

}  // namespace
}  // namespace vxl::testing
