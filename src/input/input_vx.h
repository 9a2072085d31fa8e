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
};

}  // namespace vxl
