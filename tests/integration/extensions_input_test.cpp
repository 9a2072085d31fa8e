// The input extensions through the C API, with events pushed into SDL as the devices would produce
// them: every tap, click, notch and typed character between two readings is counted once.
#include <functional>

#include "sdl_window_fixture.h"

namespace {

class InputExtensions : public SdlWindowTest {
protected:
    void SetUp() override {
        SdlWindowTest::SetUp();
        InitVexel(id_, 320, 240, 0, 0);
    }
    static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
    static void Key(SDL_Scancode code, bool down, bool repeat = false) {
        SDL_Event e{down ? SDL_KEYDOWN : SDL_KEYUP};
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat;
        e.key.keysym.scancode = code;
        Push(e);
    }
    static void Button(uint8_t button, bool down) {
        SDL_Event e{down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP};
        e.button.button = button;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        Push(e);
    }
    static void Wheel(int notches, bool flipped = false) {
        SDL_Event e{SDL_MOUSEWHEEL};
        e.wheel.y = notches;
        e.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
        Push(e);
    }
    static void Type(const char* text) {
        SDL_Event e{SDL_TEXTINPUT};
        SDL_strlcpy(e.text.text, text, sizeof e.text.text);
        Push(e);
    }
    static void Taps(int n, const std::function<void(bool)>& press) {
        for (int i = 0; i < n; ++i) {
            press(true);
            press(false);
        }
    }
};

// Ten taps between two readings answer 10, and the next reading 0.
TEST_F(InputExtensions, EveryPressBetweenTwoReadingsCountsOnce) {
    const struct {
        const char* name;
        std::function<void()> events;
        std::function<int32_t()> reader;
        int32_t expected;
    } cases[] = {
        {"ten taps of A", [] { Taps(10, [](bool d) { Key(SDL_SCANCODE_A, d); }); }, [] { return VxlKeyHit(VXL_KEY_A); },
         10},
        {"a held key repeating",
         [] {
             Key(SDL_SCANCODE_UP, true);
             for (int i = 0; i < 5; ++i) Key(SDL_SCANCODE_UP, true, true);
             Key(SDL_SCANCODE_UP, false);
         },
         [] { return VxlKeyHit(VXL_KEY_UP); }, 1},
        {"other keys are not A", [] { Taps(3, [](bool d) { Key(SDL_SCANCODE_B, d); }); },
         [] { return VxlKeyHit(VXL_KEY_A); }, 0},
        {"ten left clicks", [] { Taps(10, [](bool d) { Button(SDL_BUTTON_LEFT, d); }); }, [] { return VxlMouseHit(0); },
         10},
        {"right clicks", [] { Taps(2, [](bool d) { Button(SDL_BUTTON_RIGHT, d); }); }, [] { return VxlMouseHit(1); },
         2},
        {"middle clicks", [] { Taps(3, [](bool d) { Button(SDL_BUTTON_MIDDLE, d); }); }, [] { return VxlMouseHit(2); },
         3},
        {"wheel away and back", [] { Wheel(3), Wheel(1), Wheel(-2); }, [] { return VxlMouseWheel(); }, 2},
        {"flipped wheel", [] { Wheel(4, true); }, [] { return VxlMouseWheel(); }, -4},
        {"keys out of range", [] { Taps(2, [](bool d) { Key(SDL_SCANCODE_A, d); }); },
         [] { return VxlKeyHit(VXL_KEY_A + 256) + VxlKeyHit(-1); }, 0},
        {"buttons out of range", [] { Taps(2, [](bool d) { Button(SDL_BUTTON_X1, d); }); },
         [] { return VxlMouseHit(3) + VxlMouseHit(-1); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        VxlKeyHit(VXL_KEY_A), VxlMouseHit(0), VxlMouseWheel();
        c.events();
        EXPECT_EQ(c.reader(), c.expected);
        EXPECT_EQ(c.reader(), 0);
    }
}

TEST_F(InputExtensions, TypedTextComesOutWholeCharactersAtATime) {
    char out[16] = "unchanged";
    EXPECT_EQ(VxlTextInput(out, 16), 0);
    EXPECT_STREQ(out, "");
    Type("Grö");
    Type("ße €");
    EXPECT_EQ(VxlTextInput(nullptr, 16), 0);  // ignored: the text stays
    EXPECT_EQ(VxlTextInput(out, 0), 0);
    EXPECT_EQ(VxlTextInput(out, 4), 2);  // "ö" would not fit whole
    EXPECT_STREQ(out, "Gr");
    EXPECT_EQ(VxlTextInput(out, 1), 0);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(VxlTextInput(out, 16), 9);
    EXPECT_STREQ(out, "öße €");
    EXPECT_EQ(VxlTextInput(out, 16), 0);
}

// A display opening starts every count again.
TEST_F(InputExtensions, CountsStartAtZeroWithEachDisplay) {
    Taps(2, [](bool d) { Key(SDL_SCANCODE_A, d); });
    Taps(2, [](bool d) { Button(SDL_BUTTON_LEFT, d); });
    Wheel(1);
    Type("x");
    InitVexel(id_, 320, 240, 0, 0);
    char out[4];
    EXPECT_EQ(VxlKeyHit(VXL_KEY_A) + VxlMouseHit(0) + VxlMouseWheel() + VxlTextInput(out, 4), 0);
}

}  // namespace

// Game controllers through SDL's virtual joysticks: attached and detached while the display is open,
// every axis and every button, presses counted however the events were pumped.
class PadExtensions : public InputExtensions {
protected:
    void SetUp() override {
        InputExtensions::SetUp();
        // The dummy driver's windows never have the focus, without which SDL drops controller input.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    }
    void TearDown() override {
        for (int i = SDL_NumJoysticks(); i > 0; --i) Detach(0);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        InputExtensions::TearDown();
    }
    // A virtual controller and the test's own handle on it, to move its axes and press its buttons.
    static SDL_Joystick* Attach() {
        const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                    SDL_CONTROLLER_BUTTON_MAX, 0);
        EXPECT_GE(index, 0) << SDL_GetError();
        return SDL_JoystickOpen(index);
    }
    static void Detach(int index) {
        if (SDL_Joystick* j = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index))) SDL_JoystickClose(j);
        SDL_JoystickDetachVirtual(index);
    }
    static void Press(SDL_Joystick* j, int button, bool down) {
        SDL_JoystickSetVirtualButton(j, button, down);
        SDL_PumpEvents();
    }
};

TEST_F(PadExtensions, AttachedPadsShowEveryAxisAndButton) {
    EXPECT_EQ(VxlPadCount(), 0);
    SDL_Joystick* first = Attach();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(VxlPadCount(), 1);

    // Sticks take the whole range; triggers map it onto 0..32767.
    const struct {
        int axis;
        int16_t set;
        int32_t read;
    } axes[] = {{0, -32768, -32768}, {1, 32767, 32767}, {2, -1234, -1234}, {3, 4321, 4321},
                {4, 32767, 32767},   {4, -32768, 0},    {5, 32767, 32767}, {5, -32768, 0}};
    for (const auto& a : axes) {
        SCOPED_TRACE(a.axis);
        SDL_JoystickSetVirtualAxis(first, a.axis, a.set);
        EXPECT_EQ(VxlPadAxis(0, a.axis), a.read);
    }
    // Every button the virtual controller maps (all but the touchpad's). SDL itself holds back a
    // guide button let go within a quarter second, merging quick taps: the test holds it longer.
    for (int button = 0; button < SDL_CONTROLLER_BUTTON_TOUCHPAD; ++button) {
        SCOPED_TRACE(button);
        const Uint32 hold = button == SDL_CONTROLLER_BUTTON_GUIDE ? 300 : 0;
        VxlPadHit(0, button);
        Press(first, button, true);
        EXPECT_EQ(VxlPadButton(0, button), -1);
        SDL_Delay(hold);
        Press(first, button, false);
        EXPECT_EQ(VxlPadButton(0, button), 0);
        Press(first, button, true);
        SDL_Delay(hold);
        Press(first, button, false);
        EXPECT_EQ(VxlPadHit(0, button), 2);
        EXPECT_EQ(VxlPadHit(0, button), 0);
    }
    for (int i = 0; i < 10; ++i)
        Press(first, SDL_CONTROLLER_BUTTON_A, true), Press(first, SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(VxlPadHit(0, SDL_CONTROLLER_BUTTON_A), 10);

    // Out of range: pads, axes, buttons.
    EXPECT_EQ(VxlPadAxis(1, 0) | VxlPadAxis(-1, 0) | VxlPadAxis(0, 6) | VxlPadAxis(0, -1), 0);
    Press(first, SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_EQ(VxlPadButton(1, 1) | VxlPadButton(0, SDL_CONTROLLER_BUTTON_MAX) | VxlPadButton(0, -1), 0);
    EXPECT_EQ(VxlPadHit(1, 1) | VxlPadHit(0, SDL_CONTROLLER_BUTTON_MAX) | VxlPadHit(-1, 1), 0);
}

TEST_F(PadExtensions, PadsComeAndGoWhileTheDisplayIsOpen) {
    SDL_Joystick* first = Attach();
    SDL_Joystick* second = Attach();
    ASSERT_TRUE(first && second);
    SDL_JoystickSetVirtualAxis(first, 0, 100);
    SDL_JoystickSetVirtualAxis(second, 0, 200);
    EXPECT_EQ(VxlPadCount(), 2);
    EXPECT_EQ(std::pair(VxlPadAxis(0, 0), VxlPadAxis(1, 0)), std::pair(100, 200));
    Press(second, SDL_CONTROLLER_BUTTON_X, true);
    Press(second, SDL_CONTROLLER_BUTTON_X, false);

    Detach(0);  // the first goes: the second is pad 0 now, its presses with it
    EXPECT_EQ(VxlPadCount(), 1);
    EXPECT_EQ(VxlPadAxis(0, 0), 200);
    EXPECT_EQ(VxlPadHit(0, SDL_CONTROLLER_BUTTON_X), 1);

    SDL_Joystick* third = Attach();
    SDL_JoystickSetVirtualAxis(third, 0, 300);
    EXPECT_EQ(VxlPadCount(), 2);
    EXPECT_EQ(VxlPadAxis(1, 0), 300);
    Detach(0);
    Detach(0);
    EXPECT_EQ(VxlPadCount(), 0);
    EXPECT_EQ(VxlPadAxis(0, 0), 0);
}
