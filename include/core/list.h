// TList: a doubly linked list of objects that holds a reference to each one.
//
// Elements keep insertion order. A walk steps past an element before handing
// it out, so the element just handed out may be removed (the scenery removes
// clouds and specks while it walks them). list_remove looks for the very same
// object, front first.
#pragma once

#include "core/object.h"

#include <list>

namespace vantrel {

template <class T = TObject>
class TList final : public TObject {
    using Links = std::list<Ref<T>>;

public:
    class Walk {
    public:
        Walk(typename Links::iterator at, typename Links::iterator end) : next_(at), end_(end)
        {
            advance();
        }
        const Ref<T>& operator*() const noexcept { return current_; }
        Walk& operator++() { advance(); return *this; }
        bool operator!=(const Walk&) const noexcept { return !done_; }

    private:
        void advance()
        {
            done_ = next_ == end_;
            if (!done_)
                current_ = *next_++;
        }
        typename Links::iterator next_, end_;
        Ref<T> current_;
        bool done_ = false;
    };

    Walk begin() { return Walk(links_.begin(), links_.end()); }
    Walk end() { return Walk(links_.end(), links_.end()); }

    void append(Ref<T> value) { links_.push_back(std::move(value)); }

    bool remove(const Ref<T>& value)
    {
        for (auto it = links_.begin(); it != links_.end(); ++it)
            if (it->get() == value.get()) {
                links_.erase(it);
                return true;
            }
        return false;
    }

    size_t count() const noexcept { return links_.size(); }
    bool empty() const noexcept { return links_.empty(); }
    void clear() noexcept { links_.clear(); }

private:
    Links links_;
};

template <class T>
void list_append(const Ref<TList<T>>& list, Ref<T> value)
{
    list->append(std::move(value));
}

template <class T>
bool list_remove(const Ref<TList<T>>& list, const Ref<T>& value)
{
    return list->remove(value);
}

} // namespace vantrel
