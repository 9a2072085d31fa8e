// The input object on the fake backend: creation failures, keys, the mouse's event buffer and drain
// rules, the cursor, and the exports with and without an input object.
#include "fake_fixture.h"
#include "platform/devices/direct_input.h"

namespace vxl::testing {
namespace {

using platform::DeviceCall;
using platform::DeviceKind;

constexpr platform::HResult kLost = platform::DIERR_INPUTLOST;

class Input : public FakeTest {
protected:
    void X(int32_t d) { fake_->MouseMotion(0, d); }
    void Y(int32_t d) { fake_->MouseMotion(1, d); }
};

struct CreateFailure {
    const char* operation;
    DeviceKind kind;
    DeviceCall call;
    int skip;  // earlier calls of the same kind that succeed
};

class InputCreation : public Input, public ::testing::WithParamInterface<CreateFailure> {};

TEST_P(InputCreation, FailureIsReportedWithItsOperationAndTheCodesText) {
    const CreateFailure& f = GetParam();
    fake_->joystick = true;
    fake_->FailDevice(f.kind, f.call, kLost, 1, f.skip);
    ExpectFatal(std::string("[TInputVx]") + f.operation + " -> " + DirectInputResultText(kLost),
                [&] { OpenWindowed(); });
    EXPECT_EQ(VexelSizeX(), 320);  // the display stays
    EXPECT_EQ(TheLibrary().input, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    AllSteps, InputCreation,
    ::testing::Values(CreateFailure{"CreateDeviceK", DeviceKind::Keyboard, DeviceCall::CreateDevice, 0},
                      CreateFailure{"SetDataFormatK", DeviceKind::Keyboard, DeviceCall::SetDataFormat, 0},
                      CreateFailure{"SetCooperativeLevelK", DeviceKind::Keyboard, DeviceCall::SetCooperativeLevel, 0},
                      CreateFailure{"AcquireK", DeviceKind::Keyboard, DeviceCall::Acquire, 0},
                      CreateFailure{"CreateDeviceM", DeviceKind::Mouse, DeviceCall::CreateDevice, 0},
                      CreateFailure{"SetDataFormatM", DeviceKind::Mouse, DeviceCall::SetDataFormat, 0},
                      CreateFailure{"SetCooperativeLevelM", DeviceKind::Mouse, DeviceCall::SetCooperativeLevel, 0},
                      CreateFailure{"SetPropertyM", DeviceKind::Mouse, DeviceCall::SetProperty, 0},
                      CreateFailure{"AcquireM", DeviceKind::Mouse, DeviceCall::Acquire, 0},
                      CreateFailure{"SetDataFormatJ", DeviceKind::Joystick, DeviceCall::SetDataFormat, 0},
                      CreateFailure{"SetCooperativeLevelJ", DeviceKind::Joystick, DeviceCall::SetCooperativeLevel, 0},
                      CreateFailure{"SetPropertyJ1", DeviceKind::Joystick, DeviceCall::SetProperty, 0},
                      CreateFailure{"SetPropertyJ2", DeviceKind::Joystick, DeviceCall::SetProperty, 1},
                      CreateFailure{"SetPropertyJ3", DeviceKind::Joystick, DeviceCall::SetProperty, 2}),
    [](const auto& p) { return std::string(p.param.operation); });

TEST_F(Input, SystemCreationFailure) {
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
    EXPECT_FALSE(j.acquired());
    EXPECT_EQ(std::tuple(j.range_min(), j.range_max(), j.dead_zone(), j.saturation()),
              std::tuple(-10000, 10000, 2000u, 9500u));
}

TEST_F(Input, InkeyAnswersOnlyForTheExactPressedByteAndTakesTheLowByteOfTheCode) {
    OpenWindowed();
    EXPECT_EQ(Inkey(VXL_KEY_ESCAPE), 0);
    fake_->Key(VXL_KEY_ESCAPE, true);
    EXPECT_EQ(Inkey(VXL_KEY_ESCAPE), -1);
    EXPECT_EQ(Inkey(0x100 | VXL_KEY_ESCAPE), -1);
    EXPECT_EQ(Inkey(VXL_KEY_SPACE), 0);
    platform::DeliverDeviceEvent({platform::DeviceEvent::Kind::Key, VXL_KEY_UP, 0x81});
    EXPECT_EQ(Inkey(VXL_KEY_UP), 0);
    fake_->Key(VXL_KEY_ESCAPE, false);
    EXPECT_EQ(Inkey(VXL_KEY_ESCAPE), 0);
}

TEST_F(Input, LostKeyboardAnswersFalseOnceAndIsReacquiredWithinABound) {
    OpenWindowed();
    fake_->Key(VXL_KEY_A, true);
    const int acquires = fake_->DeviceCalls(DeviceKind::Keyboard, DeviceCall::Acquire);
    fake_->FailDevice(DeviceKind::Keyboard, DeviceCall::GetDeviceState, kLost);
    EXPECT_EQ(Inkey(VXL_KEY_A), 0);
    EXPECT_EQ(fake_->DeviceCalls(DeviceKind::Keyboard, DeviceCall::Acquire), acquires + 1);
    EXPECT_EQ(Inkey(VXL_KEY_A), -1);

    // A device that stays lost does not hang the query.
    fake_->FailDevice(DeviceKind::Keyboard, DeviceCall::GetDeviceState, kLost);
    fake_->FailDevice(DeviceKind::Keyboard, DeviceCall::Acquire, kLost, 1000000);
    EXPECT_EQ(Inkey(VXL_KEY_A), 0);
    EXPECT_LT(fake_->DeviceCalls(DeviceKind::Keyboard, DeviceCall::Acquire), acquires + 100);
}

TEST_F(Input, MotionReadersTakeTheLastEventOfEachAxisAndClearOnlyTheirOwn) {
    OpenWindowed();
    X(3);
    X(5);
    Y(-2);
    EXPECT_EQ(MouseAX(), 5);  // replaced, not summed
    EXPECT_EQ(MouseAX(), 0);
    EXPECT_EQ(MouseAY(), -2);
    X(7);
    Y(8);
    int32_t dx = 1, dy = 1;
    GetMouseAccel(&dx, &dy);
    EXPECT_EQ(std::pair(dx, dy), std::pair(7, 8));
    GetMouseAccel(&dx, &dy);
    EXPECT_EQ(std::pair(dx, dy), std::pair(0, 0));
    fake_->MouseMotion(2, 120);  // the wheel is not read
    EXPECT_EQ(MouseAX() | MouseAY(), 0);
}

TEST_F(Input, ButtonsFollowTheirEventsInOrder) {
    OpenWindowed();
    fake_->MouseButton(0, true);
    fake_->MouseButton(1, true);
    EXPECT_EQ(std::tuple(MouseLeft(), MouseMiddle(), MouseRight()), std::tuple(-1, 0, -1));
    fake_->MouseButton(2, true);
    fake_->MouseButton(2, false);  // pressed and released between two drains
    fake_->MouseButton(1, false);
    fake_->MouseButton(3, true);  // the fourth button is not read
    int32_t l = 0, m = 0, r = 0;
    GetMouseButtons(&l, &m, &r);
    EXPECT_EQ(std::tuple(l, m, r), std::tuple(-1, 0, 0));
}

TEST_F(Input, AnOverflowingBatchIsDroppedAndThePreviousValuesKept) {
    OpenWindowed();
    X(4);
    fake_->MouseButton(0, true);
    int32_t l = 0, m = 0, r = 0;
    GetMouseButtons(&l, &m, &r);
    ASSERT_EQ(l, -1);

    fake_->MouseButton(0, false);
    for (int i = 0; i < 16; ++i) X(9);  // 17 events: one more than the buffer holds
    EXPECT_EQ(MouseLeft(), -1);
    EXPECT_EQ(MouseAX(), 4);

    for (int i = 0; i < 15; ++i) X(1);
    X(6);  // exactly full is no overflow
    EXPECT_EQ(MouseAX(), 6);
}

// Presses between two reads are counted, a held key's repeats are not, and each read takes them.
TEST_F(Input, HitCountersCountPressesOnceAndTheReadTakesThem) {
    OpenWindowed();
    for (bool down : {true, true, false, true}) fake_->Key(VXL_KEY_A, down);  // the second is a repeat
    for (bool down : {true, false, true}) fake_->MouseButton(1, down);
    EXPECT_EQ(std::vector<int32_t>({VxlKeyHit(VXL_KEY_A), VxlKeyHit(VXL_KEY_A), VxlMouseHit(1), VxlMouseHit(1),
                                    VxlMouseHit(0)}),
              std::vector<int32_t>({2, 0, 2, 0, 0}));
}

TEST_F(Input, CursorIsInClientCoordinatesUnclampedAndSetTheSameWay) {
    OpenWindowed();  // client area at (100, 80)
    fake_->cursor_x = 50;
    fake_->cursor_y = 500;
    EXPECT_EQ(MouseX(), -50);
    EXPECT_EQ(MouseY(), 420);
    SetMousePos(10, 20);
    EXPECT_EQ(std::pair(fake_->cursor_x, fake_->cursor_y), std::pair(110, 100));
    int32_t x = 0, y = 0;
    GetMousePos(&x, &y);
    EXPECT_EQ(std::pair(x, y), std::pair(10, 20));
    SetMousePos(INT32_MAX, INT32_MIN);  // saturates instead of wrapping
    EXPECT_EQ(std::pair(fake_->cursor_x, fake_->cursor_y), std::pair(INT32_MAX, INT32_MIN + 80));
    fake_->cursor_x = INT32_MIN;
    EXPECT_EQ(MouseX(), INT32_MIN);
}

// Full screen, the cursor is in the mode's pixels across the letterbox: a 640x480 mode on a 1280x768
// desktop shows at 1.6 times from (128, 0), with bars left and right.
TEST_F(Input, FullScreenCursorCrossesTheLetterboxBothWays) {
    fake_->desktop_width = 1280;
    OpenFullScreen(640, 480, 32);
    const struct {
        int32_t desktop_x, desktop_y, x, y;
    } rows[] = {
        {128, 0, 0, 0},        {1128, 732, 625, 457}, {1151, 767, 639, 479},
        {127, 767, -1, 479},   {1152, 0, 640, 0},     {0, 0, -80, 0},
        {1279, -16, 719, -10},
    };
    for (const auto& r : rows) {
        fake_->cursor_x = r.desktop_x;
        fake_->cursor_y = r.desktop_y;
        int32_t x = 0, y = 0;
        GetMousePos(&x, &y);
        EXPECT_EQ(std::pair(x, y), std::pair(r.x, r.y)) << r.desktop_x << "," << r.desktop_y;
    }
    SetMousePos(625, 457);
    EXPECT_EQ(std::pair(fake_->cursor_x, fake_->cursor_y), std::pair(1128, 732));
    for (int32_t x = -3; x < 643; ++x) {  // every column reads back as set, bars included
        SetMousePos(x, x * 3 / 4);
        ASSERT_EQ(std::pair(MouseX(), MouseY()), std::pair(x, x * 3 / 4));
    }
    CloseVexel();
    fake_->cursor_x = 1128;
    OpenWindowed();  // windowed again: desktop pixels
    EXPECT_EQ(MouseX(), 1028);
}

TEST_F(Input, WithoutAnInputObjectQueriesAnswerZeroAndWriteZero) {
    fake_->Key(VXL_KEY_A, true);
    fake_->cursor_x = 5;
    EXPECT_EQ(Inkey(VXL_KEY_A) | MouseX() | MouseLeft(), 0);
    int32_t a = 7, b = 7, c = 7;
    GetMouseButtons(&a, &b, &c);
    EXPECT_EQ(std::tuple(a, b, c), std::tuple(0, 0, 0));
    SetMousePos(1, 1);
    EXPECT_EQ(fake_->cursor_x, 5);
}

TEST_F(Input, EachDisplayReplacesTheInputObjectAndClosingLeavesIt) {
    OpenWindowed();
    X(3);
    const platform::WindowId second_window = fake_->AddWindow(300, 200, 50, 50);
    InitVexel(second_window, 320, 240, 0, 0);
    EXPECT_EQ(MouseAX(), 0);  // the old mouse's buffer went with it
    fake_->cursor_x = 310;
    EXPECT_EQ(MouseX(), 10);

    CloseVexel();
    fake_->Key(VXL_KEY_B, true);
    X(2);
    EXPECT_EQ(Inkey(VXL_KEY_B), -1);
    EXPECT_EQ(MouseAX(), 2);
}

}  // namespace
}  // namespace vxl::testing
