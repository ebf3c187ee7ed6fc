// Emscripten 3.1.6 comes with libc++ 13, which lacks two C++20 library
// facilities the engine uses. The browser build includes this header before
// every C++ source (see the top CMakeLists.txt); a newer libc++ has both and
// this adds nothing.
#pragma once

#ifdef __cplusplus
#include <version>
#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000
#include <cstddef>
#include <memory>
#include <type_traits>

namespace std {

template <class To, class From>
    requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> &&
             is_trivially_copyable_v<From>)
constexpr To bit_cast(const From& from) noexcept
{
    return __builtin_bit_cast(To, from);
}

template <class T>
    requires is_unbounded_array_v<T>
unique_ptr<T> make_unique_for_overwrite(size_t n)
{
    return unique_ptr<T>(new remove_extent_t<T>[n]);
}

template <class T>
    requires(!is_array_v<T>)
unique_ptr<T> make_unique_for_overwrite()
{
    return unique_ptr<T>(new T);
}

} // namespace std
#endif
#endif
