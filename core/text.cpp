#include "core/text.h"

namespace vantrel {

Text TObject::to_string() const { return Text(u"Object"); }

Text TString::to_string() const { return Text(Ref<TString>(const_cast<TString*>(this))); }

Text::Text(std::u16string_view units)
{
    if (!units.empty())
        s_ = make_ref<TString>(std::u16string(units));
}

Text::Text(std::u16string&& units)
{
    if (!units.empty())
        s_ = make_ref<TString>(std::move(units));
}

Text Text::from_bytes(std::string_view bytes)
{
    std::u16string units(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        units[i] = static_cast<unsigned char>(bytes[i]);
    return Text(std::move(units));
}

Text Text::from_int(int64_t value)
{
    return from_bytes(std::to_string(value));
}

std::string Text::to_bytes() const
{
    auto v = view();
    std::string bytes(v.size(), '\0');
    for (size_t i = 0; i < v.size(); ++i)
        bytes[i] = static_cast<char>(v[i] & 0xFF);
    return bytes;
}

Ref<TString> Text::object() const
{
    return s_ ? s_ : make_ref<TString>(std::u16string());
}

Text operator+(const Text& a, const Text& b)
{
    std::u16string joined(a.view());
    joined += b.view();
    return Text(std::move(joined));
}

Text text_of(const Ref<TObject>& object)
{
    auto s = ref_cast<TString>(object);
    return s ? Text(s) : Text();
}

} // namespace vantrel
