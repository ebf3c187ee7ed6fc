// The SDL message pump: synthesised SDL events pushed onto SDL's queue come
// out as neutral messages with virtual-key codes, repeat flags, text, buttons,
// wheel deltas and window notices.
#include "platform/event_injection.h"
#include "platform/message_pump.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <thread>
#include <vector>

using namespace vantrel;
using namespace vantrel::platform;

namespace {

class SdlPump : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        sdl_platform_init(); // windows come from the registered window system
        WindowSpec spec;
        spec.caption = "pump test";
        spec.width = 64;
        spec.height = 48;
        spec.format.double_buffer = true;
        window = create_gl_window(spec, nullptr);
        ASSERT_TRUE(window) << last_error().to_bytes();
        window->show();
        // Let the window system's own greetings (map, focus) arrive and go.
        for (int i = 0; i < 30; ++i) {
            drain();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    static void TearDownTestSuite() { window = nullptr; }

    void SetUp() override
    {
        ASSERT_TRUE(window);
        drain();
        pending.clear();
    }
    static void drain()
    {
        OSMessage m;
        while (sdl_message_pump().poll(m)) {
        }
    }
    // The next message of our window. SDL ends each poll cycle at a marker,
    // so the queue is always read to its end and kept here.
    static OSMessage next()
    {
        OSMessage m;
        while (sdl_message_pump().poll(m))
            if (m.window == window->id())
                pending.push_back(m);
        if (pending.empty())
            return OSMessage{};
        m = pending.front();
        pending.pop_front();
        return m;
    }
    static int32_t code_of(int32_t scancode)
    {
        inject_key(window->id(), scancode, true);
        for (OSMessage m = next(); m.kind != MessageKind::None; m = next())
            if (m.kind == MessageKind::KeyDown)
                return m.key;
        return -1;
    }

    static std::deque<OSMessage> pending;
    static Ref<GLWindow> window;
};

Ref<GLWindow> SdlPump::window;
std::deque<OSMessage> SdlPump::pending;

TEST_F(SdlPump, LettersDigitsAndNamedKeysGetTheirCodes)
{
    EXPECT_EQ(code_of(SCANCODE_A), 'A');
    EXPECT_EQ(code_of(SCANCODE_M), 'M');
    EXPECT_EQ(code_of(SCANCODE_Z), 'Z');
    EXPECT_EQ(code_of(SCANCODE_1), '1');
    EXPECT_EQ(code_of(SCANCODE_0), '0');
    EXPECT_EQ(code_of(SCANCODE_ESCAPE), 27);
    EXPECT_EQ(code_of(SCANCODE_RETURN), 13);
    EXPECT_EQ(code_of(SCANCODE_TAB), 9);
    EXPECT_EQ(code_of(SCANCODE_BACKSPACE), 8);
    EXPECT_EQ(code_of(SCANCODE_SPACE), 32);
    EXPECT_EQ(code_of(SCANCODE_LEFT), 37);
    EXPECT_EQ(code_of(SCANCODE_UP), 38);
    EXPECT_EQ(code_of(SCANCODE_RIGHT), 39);
    EXPECT_EQ(code_of(SCANCODE_DOWN), 40);
    for (int32_t f = 0; f < 12; ++f)
        EXPECT_EQ(code_of(SCANCODE_F1 + f), 112 + f);
}

TEST_F(SdlPump, ModifierKeysAreLeftAndRightNeverGeneric)
{
    EXPECT_EQ(code_of(SCANCODE_LSHIFT), 160);
    EXPECT_EQ(code_of(SCANCODE_RSHIFT), 161);
    EXPECT_EQ(code_of(SCANCODE_LCTRL), 162);
    EXPECT_EQ(code_of(SCANCODE_RCTRL), 163);
    EXPECT_EQ(code_of(SCANCODE_LALT), 164);
    EXPECT_EQ(code_of(SCANCODE_RALT), 165);
}

TEST_F(SdlPump, KeysWithoutACodeGiveZero)
{
    EXPECT_EQ(code_of(0), 0);
    EXPECT_EQ(code_of(290), 0); // SDL's media keys
}

TEST_F(SdlPump, PressRepeatAndReleaseAreToldApart)
{
    inject_key(window->id(), SCANCODE_Z, true, false, MOD_SHIFT | MOD_ALT);
    inject_key(window->id(), SCANCODE_Z, true, true);
    inject_key(window->id(), SCANCODE_Z, false);
    const OSMessage press = next(), repeat = next(), release = next();
    EXPECT_EQ(press.kind, MessageKind::KeyDown);
    EXPECT_FALSE(press.repeat);
    EXPECT_EQ(press.mods, MOD_SHIFT | MOD_ALT);
    EXPECT_EQ(repeat.kind, MessageKind::KeyDown);
    EXPECT_TRUE(repeat.repeat);
    EXPECT_EQ(release.kind, MessageKind::KeyUp);
    EXPECT_EQ(release.key, 'Z');
}

TEST_F(SdlPump, TextArrivesAsUtf16)
{
    inject_text(window->id(), "z\xC3\xA9");
    const OSMessage m = next();
    EXPECT_EQ(m.kind, MessageKind::Text);
    EXPECT_EQ(m.text, u"z\u00e9");
}

TEST_F(SdlPump, ButtonsAreNumberedLeftRightMiddle)
{
    inject_button(window->id(), 1, true, 3, 4);
    inject_button(window->id(), 2, true, 3, 4);
    inject_button(window->id(), 3, false, 5, 6);
    const OSMessage left = next(), right = next(), middle = next();
    EXPECT_EQ(left.kind, MessageKind::ButtonDown);
    EXPECT_EQ(left.button, 1);
    EXPECT_EQ(left.x, 3);
    EXPECT_EQ(left.y, 4);
    EXPECT_EQ(right.button, 2);
    EXPECT_EQ(middle.kind, MessageKind::ButtonUp);
    EXPECT_EQ(middle.button, 3);
}

TEST_F(SdlPump, MotionCarriesHeldButtonsAndTheClientSize)
{
    inject_motion(window->id(), 70, -2, HELD_RIGHT | HELD_MIDDLE);
    const OSMessage m = next();
    EXPECT_EQ(m.kind, MessageKind::Motion);
    EXPECT_EQ(m.x, 70);
    EXPECT_EQ(m.y, -2);
    EXPECT_EQ(m.buttons, HELD_RIGHT | HELD_MIDDLE);
    EXPECT_EQ(m.client_width, 64);
    EXPECT_EQ(m.client_height, 48);
}

TEST_F(SdlPump, WheelNotchesBecomeDeltasOfOneHundredTwenty)
{
    inject_wheel(window->id(), 0.5f);
    inject_wheel(window->id(), -2.0f);
    EXPECT_EQ(next().wheel_delta, 60);
    EXPECT_EQ(next().wheel_delta, -240);
}

TEST_F(SdlPump, WindowNoticesBecomeFocusCloseAndLeave)
{
    inject_window_notice(window->id(), WindowNotice::FocusLost);
    inject_window_notice(window->id(), WindowNotice::FocusGained);
    inject_window_notice(window->id(), WindowNotice::PointerEntered); // not a message
    inject_window_notice(window->id(), WindowNotice::Close);
    inject_window_notice(window->id(), WindowNotice::PointerLeft);
    EXPECT_EQ(next().kind, MessageKind::FocusLost);
    EXPECT_EQ(next().kind, MessageKind::FocusGained);
    EXPECT_EQ(next().kind, MessageKind::Close);
    EXPECT_EQ(next().kind, MessageKind::PointerLeft);
}

TEST_F(SdlPump, QuitIsNotACloseRequest)
{
    inject_quit();
    EXPECT_EQ(next().kind, MessageKind::None);
}

TEST_F(SdlPump, ClosedWindowReleasesItsContext)
{
    WindowSpec spec;
    spec.style = WindowStyle::Hidden;
    Ref<GLWindow> hidden = create_gl_window(spec, window.get());
    ASSERT_TRUE(hidden);
    EXPECT_FALSE(hidden->is_current()); // making it leaves the current context alone
    ASSERT_TRUE(hidden->make_current());
    hidden->close();
    EXPECT_TRUE(hidden->closed());
    EXPECT_FALSE(hidden->is_current());
    EXPECT_FALSE(hidden->make_current());
    EXPECT_FALSE(hidden->visible());
}

} // namespace

TEST_F(SdlPump, WakeFromAnotherThreadEndsAWaitAndLeavesNoMessage)
{
    std::thread waker([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        sdl_message_pump().wake();
        sdl_message_pump().wake(); // coalesced with the first
    });
    sdl_message_pump().wait();
    waker.join();
    OSMessage m;
    int messages = 0;
    while (sdl_message_pump().poll(m))
        ++messages;
    EXPECT_EQ(messages, 0);
    // The wake was taken, so a later one is pushed afresh.
    sdl_message_pump().wake();
    sdl_message_pump().wait();
}

namespace {

// Every message of a pad (window id 0) up to now.
std::vector<OSMessage> pad_messages()
{
    std::vector<OSMessage> out;
    OSMessage m;
    for (int round = 0; round < 5; ++round) {
        while (sdl_message_pump().poll(m))
            if (m.kind >= MessageKind::PadAdded)
                out.push_back(m);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return out;
}

} // namespace

TEST_F(SdlPump, VirtualControllerPlugsPressesMovesAndUnplugs)
{
    const int32_t pad = attach_virtual_pad();
    ASSERT_GE(pad, 0);
    auto got = pad_messages();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].kind, MessageKind::PadAdded);
    const int32_t slot = got[0].pad;
    EXPECT_EQ(slot, 0);

    ASSERT_TRUE(set_virtual_pad_button(pad, 9, true)); // left shoulder
    ASSERT_TRUE(set_virtual_pad_axis(pad, 1, -30000)); // left stick up
    got = pad_messages();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].kind, MessageKind::PadButtonDown);
    EXPECT_EQ(got[0].button, 9);
    EXPECT_EQ(got[0].pad, slot);
    EXPECT_EQ(got[1].kind, MessageKind::PadAxis);
    EXPECT_EQ(got[1].button, 1);
    EXPECT_EQ(got[1].axis_value, -30000);

    // A second pad takes the next slot; unplugging the first frees slot 0.
    const int32_t second = attach_virtual_pad();
    got = pad_messages();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].pad, 1);
    detach_virtual_pad(pad);
    got = pad_messages();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().kind, MessageKind::PadRemoved);
    EXPECT_EQ(got.back().pad, 0);
    detach_virtual_pad(second);
    got = pad_messages();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().pad, 1);
    EXPECT_FALSE(set_virtual_pad_button(pad, 0, true));
}
