// Key codes under keyboard layouts, from the scancode/keycode pairs SDL
// reports for French AZERTY, German QWERTZ and US Dvorak keyboards: every
// letter is reported by the one key that types it, punctuation on letter
// positions reports its character's code, and no two keys share a code. A
// US keyboard reports exactly the positional codes.
#include "platform/sdl/sdl_keymap.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace vantrel::platform::sdl {
namespace {

using Layout = std::map<SDL_Scancode, SDL_Keycode>;

// Letters and digits where a US keyboard has them.
Layout us_layout()
{
    Layout layout;
    for (int i = 0; i < 26; ++i)
        layout[static_cast<SDL_Scancode>(SDL_SCANCODE_A + i)] = SDLK_a + i;
    for (int i = 0; i < 9; ++i)
        layout[static_cast<SDL_Scancode>(SDL_SCANCODE_1 + i)] = '1' + i;
    layout[SDL_SCANCODE_0] = '0';
    const std::pair<SDL_Scancode, char> punctuation[] = {
        {SDL_SCANCODE_SEMICOLON, ';'}, {SDL_SCANCODE_EQUALS, '='}, {SDL_SCANCODE_COMMA, ','},
        {SDL_SCANCODE_MINUS, '-'}, {SDL_SCANCODE_PERIOD, '.'}, {SDL_SCANCODE_SLASH, '/'},
        {SDL_SCANCODE_GRAVE, '`'}, {SDL_SCANCODE_LEFTBRACKET, '['},
        {SDL_SCANCODE_BACKSLASH, '\\'}, {SDL_SCANCODE_RIGHTBRACKET, ']'},
        {SDL_SCANCODE_APOSTROPHE, '\''}, {SDL_SCANCODE_NONUSBACKSLASH, '<'}};
    for (const auto& [scancode, c] : punctuation)
        layout[scancode] = c;
    return layout;
}

// The US layout with the keys given as "scancode-letter-on-US to character".
Layout remapped(const std::map<SDL_Scancode, SDL_Keycode>& changes)
{
    Layout layout = us_layout();
    for (const auto& [scancode, keycode] : changes)
        layout[scancode] = keycode;
    return layout;
}

Layout azerty()
{
    return remapped({{SDL_SCANCODE_Q, 'a'}, {SDL_SCANCODE_W, 'z'}, {SDL_SCANCODE_A, 'q'},
                     {SDL_SCANCODE_Z, 'w'}, {SDL_SCANCODE_M, ','}, {SDL_SCANCODE_SEMICOLON, 'm'},
                     {SDL_SCANCODE_COMMA, ';'}, {SDL_SCANCODE_PERIOD, ':'},
                     {SDL_SCANCODE_SLASH, '!'}, {SDL_SCANCODE_APOSTROPHE, 0xF9},
                     {SDL_SCANCODE_GRAVE, 0xB2}, {SDL_SCANCODE_LEFTBRACKET, '^'},
                     {SDL_SCANCODE_RIGHTBRACKET, '$'}, {SDL_SCANCODE_BACKSLASH, '*'},
                     {SDL_SCANCODE_MINUS, ')'}, {SDL_SCANCODE_1, '&'}, {SDL_SCANCODE_2, 0xE9},
                     {SDL_SCANCODE_3, '"'}, {SDL_SCANCODE_4, '\''}, {SDL_SCANCODE_5, '('},
                     {SDL_SCANCODE_6, '-'}, {SDL_SCANCODE_7, 0xE8}, {SDL_SCANCODE_8, '_'},
                     {SDL_SCANCODE_9, 0xE7}, {SDL_SCANCODE_0, 0xE0}});
}

Layout qwertz()
{
    return remapped({{SDL_SCANCODE_Y, 'z'}, {SDL_SCANCODE_Z, 'y'}, {SDL_SCANCODE_MINUS, 0xDF},
                     {SDL_SCANCODE_EQUALS, 0xB4}, {SDL_SCANCODE_LEFTBRACKET, 0xFC},
                     {SDL_SCANCODE_RIGHTBRACKET, '+'}, {SDL_SCANCODE_SEMICOLON, 0xF6},
                     {SDL_SCANCODE_APOSTROPHE, 0xE4}, {SDL_SCANCODE_GRAVE, '^'},
                     {SDL_SCANCODE_BACKSLASH, '#'}, {SDL_SCANCODE_SLASH, '-'}});
}

Layout dvorak()
{
    const std::string top = "',.pyfgcrl/=", middle = "aoeuidhtns-", bottom = ";qjkxbmwvz";
    const SDL_Scancode top_keys[] = {
        SDL_SCANCODE_Q, SDL_SCANCODE_W, SDL_SCANCODE_E, SDL_SCANCODE_R, SDL_SCANCODE_T,
        SDL_SCANCODE_Y, SDL_SCANCODE_U, SDL_SCANCODE_I, SDL_SCANCODE_O, SDL_SCANCODE_P,
        SDL_SCANCODE_LEFTBRACKET, SDL_SCANCODE_RIGHTBRACKET};
    const SDL_Scancode middle_keys[] = {
        SDL_SCANCODE_A, SDL_SCANCODE_S, SDL_SCANCODE_D, SDL_SCANCODE_F, SDL_SCANCODE_G,
        SDL_SCANCODE_H, SDL_SCANCODE_J, SDL_SCANCODE_K, SDL_SCANCODE_L, SDL_SCANCODE_SEMICOLON,
        SDL_SCANCODE_APOSTROPHE};
    const SDL_Scancode bottom_keys[] = {
        SDL_SCANCODE_Z, SDL_SCANCODE_X, SDL_SCANCODE_C, SDL_SCANCODE_V, SDL_SCANCODE_B,
        SDL_SCANCODE_N, SDL_SCANCODE_M, SDL_SCANCODE_COMMA, SDL_SCANCODE_PERIOD,
        SDL_SCANCODE_SLASH};
    Layout layout = remapped({{SDL_SCANCODE_MINUS, '['}, {SDL_SCANCODE_EQUALS, ']'}});
    for (size_t i = 0; i < top.size(); ++i)
        layout[top_keys[i]] = top[i];
    for (size_t i = 0; i < middle.size(); ++i)
        layout[middle_keys[i]] = middle[i];
    for (size_t i = 0; i < bottom.size(); ++i)
        layout[bottom_keys[i]] = bottom[i];
    return layout;
}

// Learns `layout` and returns the code of every key it has.
std::map<SDL_Scancode, int32_t> codes_under(const Layout& layout)
{
    learn_layout([&](SDL_Scancode s) {
        const auto it = layout.find(s);
        return it == layout.end() ? SDLK_UNKNOWN : it->second;
    });
    std::map<SDL_Scancode, int32_t> codes;
    for (const auto& [scancode, keycode] : layout)
        codes[scancode] = virtual_key(scancode, keycode);
    return codes;
}

// Each key has its own code, and each letter comes from the key typing it.
void expect_sound_layout(const Layout& layout, const char* name)
{
    const auto codes = codes_under(layout);
    std::map<int32_t, SDL_Scancode> owner;
    for (const auto& [scancode, code] : codes) {
        EXPECT_GT(code, 0) << name << " scancode " << scancode;
        const auto [it, fresh] = owner.emplace(code, scancode);
        EXPECT_TRUE(fresh) << name << ": scancodes " << it->second << " and " << scancode
                           << " both report " << code;
        const SDL_Keycode typed = layout.at(scancode);
        if (typed >= SDLK_a && typed <= SDLK_z) {
            EXPECT_EQ(code, 'A' + (typed - SDLK_a)) << name << " scancode " << scancode;
        }
    }
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        EXPECT_TRUE(owner.count(letter)) << name << ": no key reports " << letter;
}

TEST(SdlKeymap, UsLayoutReportsPositionalCodes)
{
    const Layout us = us_layout();
    // Nothing learnt beyond a layout that types what each position says.
    const auto codes = codes_under(us);
    EXPECT_EQ(codes.at(SDL_SCANCODE_Z), 90);
    EXPECT_EQ(codes.at(SDL_SCANCODE_M), 77);
    EXPECT_EQ(codes.at(SDL_SCANCODE_SEMICOLON), 186);
    EXPECT_EQ(codes.at(SDL_SCANCODE_APOSTROPHE), 222);
    EXPECT_EQ(codes.at(SDL_SCANCODE_NONUSBACKSLASH), 226);
    EXPECT_EQ(codes.at(SDL_SCANCODE_1), '1');
    EXPECT_EQ(virtual_key(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT), 160);
    EXPECT_EQ(virtual_key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE), 27);
    EXPECT_EQ(virtual_key(SDL_SCANCODE_LEFT, SDLK_LEFT), 37);
    expect_sound_layout(us, "US");
}

TEST(SdlKeymap, AzertyCommaKeyIsNotAnM)
{
    const auto codes = codes_under(azerty());
    EXPECT_EQ(codes.at(SDL_SCANCODE_M), 188);         // ','
    EXPECT_EQ(codes.at(SDL_SCANCODE_SEMICOLON), 77);  // 'm'
    EXPECT_EQ(codes.at(SDL_SCANCODE_COMMA), 186);     // ';'
    EXPECT_EQ(codes.at(SDL_SCANCODE_W), 90);          // 'z'
    EXPECT_EQ(codes.at(SDL_SCANCODE_Z), 87);          // 'w'
    EXPECT_EQ(codes.at(SDL_SCANCODE_4), '4');         // the digit row stays digits
    EXPECT_EQ(codes.at(SDL_SCANCODE_6), '6');
    expect_sound_layout(azerty(), "AZERTY");
}

TEST(SdlKeymap, QwertzSwapsYAndZAndKeepsPunctuationApart)
{
    const auto codes = codes_under(qwertz());
    EXPECT_EQ(codes.at(SDL_SCANCODE_Y), 90);
    EXPECT_EQ(codes.at(SDL_SCANCODE_Z), 89);
    EXPECT_EQ(codes.at(SDL_SCANCODE_SLASH), 189);       // '-'
    EXPECT_EQ(codes.at(SDL_SCANCODE_RIGHTBRACKET), 187); // '+'
    // Positions whose own code a character elsewhere took.
    EXPECT_NE(codes.at(SDL_SCANCODE_MINUS), 189);
    EXPECT_NE(codes.at(SDL_SCANCODE_EQUALS), 187);
    expect_sound_layout(qwertz(), "QWERTZ");
}

TEST(SdlKeymap, DvorakSemicolonKeyIsNotAZ)
{
    const auto codes = codes_under(dvorak());
    EXPECT_EQ(codes.at(SDL_SCANCODE_Z), 186);     // ';'
    EXPECT_EQ(codes.at(SDL_SCANCODE_SLASH), 90);  // 'z'
    EXPECT_EQ(codes.at(SDL_SCANCODE_Q), 222);     // '\''
    EXPECT_EQ(codes.at(SDL_SCANCODE_M), 77);
    EXPECT_EQ(codes.at(SDL_SCANCODE_MINUS), 219); // '['
    expect_sound_layout(dvorak(), "Dvorak");
}

// Scancodes out of range, keycodes that are no characters and a layout that
// answers nonsense give a code in 0..255 or 0, never a crash.
TEST(SdlKeymap, BadInputGivesNoCodeOrAPositionalOne)
{
    codes_under(us_layout());
    EXPECT_EQ(virtual_key(-1, SDLK_a), 0);
    EXPECT_EQ(virtual_key(SDL_NUM_SCANCODES, SDLK_a), 0);
    EXPECT_EQ(virtual_key(1 << 30, SDLK_z), 0);
    EXPECT_EQ(virtual_key(SDL_SCANCODE_Q, -5), 'Q');
    EXPECT_EQ(virtual_key(SDL_SCANCODE_Q, SDLK_UNKNOWN), 'Q');
    EXPECT_EQ(virtual_key(SDL_SCANCODE_Q, SDLK_F1), 'Q');
    EXPECT_EQ(virtual_key(SDL_SCANCODE_F1, SDLK_a), 112);
    // A layout that types 'a' on every key, then keycodes beyond Unicode.
    learn_layout([](SDL_Scancode) { return SDL_Keycode{SDLK_a}; });
    for (int s = -2; s < SDL_NUM_SCANCODES + 2; ++s) {
        const int32_t code = virtual_key(static_cast<SDL_Scancode>(s), 0x10FFFF);
        EXPECT_GE(code, 0);
        EXPECT_LE(code, 255);
    }
    codes_under(us_layout());
}

} // namespace
} // namespace vantrel::platform::sdl
