// TInputVx: the keyboard and the mouse of the display's window, and a joystick prepared when one is
// attached. The keyboard state is read on each key query; the mouse's buffered events are drained at
// the start of each button or motion query; the cursor position comes from the window system.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/fatal_error.h"
#include "platform/devices/direct_input.h"
#include "platform/devices/game_controllers.h"

namespace vxl {

class TInputVx {
public:
    static constexpr const char* kTag = kTagInput;

    // A failure destroys the object and is reported.
    static std::unique_ptr<TInputVx> Create(platform::WindowId window);
    TInputVx() = default;
    ~TInputVx();
    TInputVx(const TInputVx&) = delete;
    TInputVx& operator=(const TInputVx&) = delete;

    // True while the key (a DirectInput key code) is down.
    bool Inkey(uint8_t key);

    // Motion since the last reading of that axis; reading clears it.
    int32_t MouseAX();
    int32_t MouseAY();
    void GetMouseAccel(int32_t* dx, int32_t* dy);
    bool MouseLeft();
    bool MouseMiddle();
    bool MouseRight();
    void GetMouseButtons(bool* left, bool* middle, bool* right);

    // The cursor in the window's client coordinates, unclamped.
    int32_t MouseX() const;
    int32_t MouseY() const;
    void GetMousePos(int32_t* x, int32_t* y) const;
    void SetMousePos(int32_t x, int32_t y) const;

    // Extensions: what came since the previous reading of the same thing, counted from the object's
    // creation: presses of a key (a DirectInput key code) or of a mouse button (0 left, 1 right,
    // 2 middle), wheel notches (positive away from the user) and typed UTF-8 text.
    int32_t KeyHits(uint8_t key);
    int32_t MouseHits(uint8_t button);
    int32_t MouseWheel();
    int32_t TypedText(char* out, int32_t size);
    // Game controllers attached now, their axes and buttons, and the presses of a button since it was
    // last read; out-of-range pads, axes and buttons answer 0.
    int32_t PadCount();
    int32_t PadAxis(int32_t pad, int32_t axis);
    bool PadButton(int32_t pad, int32_t button);
    int32_t PadHits(int32_t pad, int32_t button);

    bool joystick_present() const { return joystick_present_; }
    const std::vector<std::string>& button_names() const { return button_names_; }
    const platform::InputDevice* joystick() const { return joystick_.get(); }

private:
    void Construct(platform::WindowId window);
    void PrepareJoystick();
    void DrainMouse();

    platform::WindowId window_ = 0;
    std::shared_ptr<platform::DirectInput> direct_input_;
    std::shared_ptr<platform::InputDevice> keyboard_;
    std::shared_ptr<platform::InputDevice> mouse_;
    std::shared_ptr<platform::InputDevice> joystick_;
    bool right_button_ = false;
    bool left_button_ = false;
    bool middle_button_ = false;
    int32_t motion_x_ = 0;
    int32_t motion_y_ = 0;
    bool joystick_present_ = false;
    std::vector<std::string> button_names_;
    std::unique_ptr<platform::GameControllers> pads_;
};

}  // namespace vxl
