// The object model: intrusively reference-counted objects and the Ref handle.
//
// Every engine object derives from TObject. A Ref<T> holds one reference; the
// empty Ref is the null object, the one "no object" value that lookups return.
// Touching a member through the null object raises a runtime error instead of
// crashing, so a missing asset shows up as a message, not a segfault.
#pragma once

#include <atomic>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace vantrel {

class Text;

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The standard text form of an object; subclasses give their own.
    virtual Text to_string() const;

    void retain() const noexcept { refs_.fetch_add(1, std::memory_order_relaxed); }
    void release() const noexcept
    {
        if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }
    int32_t ref_count() const noexcept { return refs_.load(std::memory_order_relaxed); }

private:
    mutable std::atomic<int32_t> refs_{0};
};

[[noreturn]] void raise_null_access();

template <class T>
class Ref {
public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}
    explicit Ref(T* p) noexcept : p_(p) { if (p_) p_->retain(); }
    Ref(const Ref& o) noexcept : Ref(o.p_) {}
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& o) noexcept : Ref(static_cast<T*>(o.get())) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(Ref<U>&& o) noexcept : p_(o.detach()) {}
    ~Ref() { if (p_) p_->release(); }

    Ref& operator=(Ref o) noexcept { std::swap(p_, o.p_); return *this; }

    T* get() const noexcept { return p_; }
    T* operator->() const { if (!p_) raise_null_access(); return p_; }
    T& operator*() const { if (!p_) raise_null_access(); return *p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    bool is_null() const noexcept { return p_ == nullptr; }
    void reset() noexcept { Ref().swap_with(*this); }

    // Gives up ownership without releasing; the caller takes the reference.
    T* detach() noexcept { return std::exchange(p_, nullptr); }

    friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }
    friend bool operator==(const Ref& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

private:
    void swap_with(Ref& o) noexcept { std::swap(p_, o.p_); }
    T* p_ = nullptr;
};

// The one place objects are allocated.
template <class T, class... Args>
Ref<T> make_ref(Args&&... args)
{
    return Ref<T>(new T(std::forward<Args>(args)...));
}

// Checked downcast: the null object when the object is not a T.
template <class T, class U>
Ref<T> ref_cast(const Ref<U>& r) noexcept
{
    return Ref<T>(dynamic_cast<T*>(r.get()));
}

template <class T, class U>
bool same_object(const Ref<T>& a, const Ref<U>& b) noexcept
{
    return static_cast<const TObject*>(a.get()) == static_cast<const TObject*>(b.get());
}

} // namespace vantrel
