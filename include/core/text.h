// Text: immutable, reference-counted strings of 16-bit code units.
//
// A Text is a value handle to a shared TString object; copying one copies a
// reference. The empty text needs no object. A TString is an ordinary object,
// so texts can travel where objects do (an event's extra payload, a location).
#pragma once

#include "core/object.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

class TString final : public TObject {
public:
    explicit TString(std::u16string units) : units_(std::move(units)) {}
    const std::u16string& units() const noexcept { return units_; }
    Text to_string() const override;

private:
    const std::u16string units_;
};

class Text {
public:
    Text() = default;
    Text(const char16_t* units) : Text(std::u16string_view(units)) {}
    Text(std::u16string_view units);
    Text(std::u16string&& units);
    explicit Text(Ref<TString> object) : s_(std::move(object)) {}

    // Each byte becomes one code unit 0..255.
    static Text from_bytes(std::string_view bytes);
    static Text from_int(int64_t value);

    std::u16string_view view() const noexcept
    {
        return s_ ? std::u16string_view(s_.get()->units()) : std::u16string_view();
    }
    size_t length() const noexcept { return view().size(); }
    bool empty() const noexcept { return view().empty(); }
    char16_t operator[](size_t i) const noexcept { return view()[i]; }

    // Each code unit cut to its low byte.
    std::string to_bytes() const;

    // The text as an object (a TString); the empty text makes an empty one.
    Ref<TString> object() const;

    friend bool operator==(const Text& a, const Text& b) noexcept { return a.view() == b.view(); }
    friend Text operator+(const Text& a, const Text& b);

private:
    Ref<TString> s_;
};

// The text of an object that is a string, or the empty text.
Text text_of(const Ref<TObject>& object);

} // namespace vantrel
