// Immortal<T>: process-wide state that is built on first use and never
// destroyed, so exit actions and late releases (textures of images that
// live to the end) never meet an already destroyed holder.
#pragma once

#include <utility>

namespace vantrel {

template <class T>
class Immortal {
public:
    template <class... Args>
    explicit Immortal(Args&&... args) : value_(std::forward<Args>(args)...)
    {
    }
    ~Immortal() {} // leaves value_ alone on purpose
    Immortal(const Immortal&) = delete;
    Immortal& operator=(const Immortal&) = delete;

    T& get() noexcept { return value_; }

private:
    union {
        T value_;
    };
};

} // namespace vantrel
