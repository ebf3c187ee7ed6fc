// NewestFirst: a process-wide registry kept as a singly linked list to which
// each new entry is prepended, so it is searched newest first. The stream
// protocol handlers, the pixmap loaders and the sample loaders are such lists.
//
// The list holds a reference to every entry for as long as it lives; nothing
// is ever taken off. `add` (and `add_last`, for the tail) refuses the null
// object and an entry already listed, leaving the list as it was. Adding during a walk is safe: the walk
// goes on through the entries that were there when it started and does not
// see the newcomer.
//
// The link is either a `Ref<T>` field of the entry itself, named by `Link`
// (the entries' own "registered before me" field, which their users may read),
// or, when `Link` is left out, a node the list keeps on the side.
//
// Threads: entries are added on the main thread during start-up. Walks may
// run on any thread once no more are added (the start-up decoding worker
// walks all three lists); nothing here locks.
#pragma once

#include "core/object.h"

#include <forward_list>
#include <utility>

namespace vantrel {

template <class T, Ref<T> T::*Link = nullptr>
class NewestFirst {
public:
    // Puts `entry` at the head. False for the null object or an entry already
    // in the list.
    bool add(const Ref<T>& entry)
    {
        if (!entry || contains(entry))
            return false;
        if constexpr (Link != nullptr) {
            (*entry).*Link = head_;
            head_ = entry;
        } else {
            nodes_.push_front(entry);
        }
        return true;
    }

    // Puts `entry` at the tail: asked after every entry, those added later
    // by `add` included. For a last resort, such as a loader that is to look
    // at data only when every other has refused it. False as for `add`.
    bool add_last(const Ref<T>& entry)
    {
        if (!entry || contains(entry))
            return false;
        if constexpr (Link != nullptr) {
            if (!head_) {
                head_ = entry;
                return true;
            }
            Ref<T> at = head_;
            while ((*at).*Link)
                at = Ref<T>((*at).*Link);
            (*at).*Link = entry;
        } else {
            auto before_end = nodes_.before_begin();
            for (auto it = nodes_.begin(); it != nodes_.end(); ++it)
                before_end = it;
            nodes_.insert_after(before_end, entry);
        }
        return true;
    }

    bool contains(const Ref<T>& entry) const
    {
        return static_cast<bool>(first_answer([&](const Ref<T>& at) { return at == entry; }));
    }

    // The newest entry, or the null object when the list is empty.
    Ref<T> first() const
    {
        if constexpr (Link != nullptr)
            return head_;
        else
            return nodes_.empty() ? Ref<T>() : nodes_.front();
    }

    // Calls `ask(entry)` for each entry, newest first, and returns the first
    // answer that tests true; a default-made answer when none does.
    template <class Ask>
    auto first_answer(Ask&& ask) const -> decltype(ask(std::declval<const Ref<T>&>()))
    {
        if constexpr (Link != nullptr) {
            // The walk holds the entry it is at, so a link changed meanwhile
            // cannot free what it stands on.
            for (Ref<T> at = head_; at; at = (*at).*Link)
                if (auto answer = ask(at))
                    return answer;
        } else {
            for (const Ref<T>& at : nodes_)
                if (auto answer = ask(at))
                    return answer;
        }
        return {};
    }

private:
    Ref<T> head_;                       // with an intrusive link
    std::forward_list<Ref<T>> nodes_;   // without one
};

} // namespace vantrel
