#pragma once
// A doubly linked list with a count that allocates nothing: each element embeds an
// IntrusiveLink. An element is in at most one list per link; a link knows its list, so an
// element can leave its list without the list being named, and a destroyed element or list
// never leaves a dangling link behind.
#include <cstddef>
#include <iterator>

namespace quellor {

template<typename T>
class IntrusiveListBase;

template<typename T>
class IntrusiveLink {
public:
    IntrusiveLink() = default;
    // A copied element starts in no list.
    IntrusiveLink(const IntrusiveLink&) {}
    IntrusiveLink& operator=(const IntrusiveLink&) { return *this; }
    ~IntrusiveLink() { Unlink(); }

    bool IsLinked() const { return m_list != nullptr; }
    const IntrusiveListBase<T>* GetList() const { return m_list; }

    // Leaves the list it is in; nothing for an element in no list.
    void Unlink()
    {
        if (m_list)
            m_list->UnlinkNode(*this);
    }

private:
    friend class IntrusiveListBase<T>;
    IntrusiveLink* m_prev = nullptr;
    IntrusiveLink* m_next = nullptr;
    IntrusiveListBase<T>* m_list = nullptr;
    T* m_element = nullptr;
};

template<typename T>
class IntrusiveListBase {
public:
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T*;
        using difference_type = std::ptrdiff_t;
        using pointer = T**;
        using reference = T*;

        explicit Iterator(const IntrusiveLink<T>* link) : m_link(link) {}
        T* operator*() const { return m_link->m_element; }
        Iterator& operator++()
        {
            m_link = m_link->m_next;
            return *this;
        }
        bool operator==(const Iterator& other) const { return m_link == other.m_link; }

    private:
        const IntrusiveLink<T>* m_link;
    };

    IntrusiveListBase()
    {
        m_sentinel.m_prev = &m_sentinel;
        m_sentinel.m_next = &m_sentinel;
    }
    IntrusiveListBase(const IntrusiveListBase&) = delete;
    IntrusiveListBase& operator=(const IntrusiveListBase&) = delete;
    ~IntrusiveListBase() { Clear(); }

    std::size_t Count() const { return m_count; }
    bool Empty() const { return m_count == 0; }
    T* Front() const { return m_count ? m_sentinel.m_next->m_element : nullptr; }
    T* Back() const { return m_count ? m_sentinel.m_prev->m_element : nullptr; }

    Iterator begin() const { return Iterator(m_sentinel.m_next); }
    Iterator end() const { return Iterator(&m_sentinel); }

    // Unlinks every element.
    void Clear()
    {
        while (m_count)
            UnlinkNode(*m_sentinel.m_next);
    }

    // Calls step on each element from head to tail. The walk survives changes made by a step:
    // an element appended is reached, and an element that leaves the list (the current one, the
    // next one or any other) is never visited afterwards. Walks of one list may nest.
    template<typename Step>
    void ForEach(Step step)
    {
        Walk walk{m_sentinel.m_next, m_walks};
        m_walks = &walk;
        struct Leave {
            IntrusiveListBase& list;
            Walk& walk;
            ~Leave() { list.m_walks = walk.outer; }
        } leave{*this, walk};
        while (walk.next != &m_sentinel) {
            IntrusiveLink<T>* link = walk.next;
            walk.next = link->m_next;
            step(link->m_element);
        }
    }

    // The element after this one in its list, or null at the end.
    static T* Next(const IntrusiveLink<T>& link)
    {
        if (!link.m_list || link.m_next == &link.m_list->m_sentinel)
            return nullptr;
        return link.m_next->m_element;
    }

protected:
    // Appends at the tail; an element already in a list leaves that list first.
    void LinkBack(IntrusiveLink<T>& link, T* element)
    {
        link.Unlink();
        link.m_element = element;
        link.m_list = this;
        link.m_prev = m_sentinel.m_prev;
        link.m_next = &m_sentinel;
        m_sentinel.m_prev->m_next = &link;
        m_sentinel.m_prev = &link;
        ++m_count;
        // A walk that had reached the end goes on with the new tail.
        for (Walk* walk = m_walks; walk; walk = walk->outer)
            if (walk->next == &m_sentinel)
                walk->next = &link;
    }

private:
    friend class IntrusiveLink<T>;

    // A walk in progress: the link it visits next, and the walk it runs inside of.
    struct Walk {
        IntrusiveLink<T>* next;
        Walk* outer;
    };

    void UnlinkNode(IntrusiveLink<T>& link)
    {
        // A walk about to visit the leaving element moves on to the one after it.
        for (Walk* walk = m_walks; walk; walk = walk->outer)
            if (walk->next == &link)
                walk->next = link.m_next;
        link.m_prev->m_next = link.m_next;
        link.m_next->m_prev = link.m_prev;
        link.m_prev = nullptr;
        link.m_next = nullptr;
        link.m_list = nullptr;
        --m_count;
    }

    IntrusiveLink<T> m_sentinel;
    std::size_t m_count = 0;
    Walk* m_walks = nullptr; // innermost first
};

// The list of elements of type T linked through their member Link.
template<typename T, IntrusiveLink<T> T::*Link>
class IntrusiveList : public IntrusiveListBase<T> {
public:
    void PushBack(T* element) { this->LinkBack(element->*Link, element); }

    // Unlinks the element from whichever list holds it; nothing for an element in no list.
    static void Remove(T* element) { (element->*Link).Unlink(); }

    static bool Contains(const T* element, const IntrusiveListBase<T>& list)
    {
        return (element->*Link).GetList() == &list;
    }

    bool Contains(const T* element) const { return Contains(element, *this); }

    static T* Next(const T* element) { return IntrusiveListBase<T>::Next(element->*Link); }
};

} // namespace quellor
