// A doubly linked list whose positions stay valid while other nodes are
// added or removed. The drawing code hands positions of nodes around (the
// segment that holds a point, the node a walk stopped at), so a position is
// a stable handle to a node, and a null position means "none".
#pragma once

#include "CFixedPool.h"

#include <cstddef>
#include <initializer_list>
#include <iterator>

struct CListNodeBase {
    CListNodeBase* next = nullptr;
    CListNodeBase* prev = nullptr;
};

// A position in any CList; nullptr is the null position.
using POSITION = CListNodeBase*;

template <class T>
class CList {
    // Nodes come from a pool: drawings hold millions of them.
    struct Node : CListNodeBase {
        explicit Node(const T& v) : value(v) {}
        T value;
        VEK_POOLED_CLASS(Node)
    };

public:
    CList() = default;
    CList(std::initializer_list<T> items)
    {
        for (const T& v : items) AddTail(v);
    }
    CList(const CList& other) { AddTail(other); }
    CList(CList&& other) noexcept { Steal(other); }
    CList& operator=(const CList& other)
    {
        if (this != &other) {
            CList copy(other);
            RemoveAll();
            Steal(copy);
        }
        return *this;
    }
    CList& operator=(CList&& other) noexcept
    {
        if (this != &other) {
            RemoveAll();
            Steal(other);
        }
        return *this;
    }
    ~CList() { RemoveAll(); }

    int GetCount() const { return m_count; }
    int GetSize() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    POSITION GetHeadPosition() const { return m_head; }
    POSITION GetTailPosition() const { return m_tail; }

    T& GetHead() { return NodeOf(m_head)->value; }
    const T& GetHead() const { return NodeOf(m_head)->value; }
    T& GetTail() { return NodeOf(m_tail)->value; }
    const T& GetTail() const { return NodeOf(m_tail)->value; }

    // Returns the element at pos and moves pos to the next node (or null).
    T& GetNext(POSITION& pos)
    {
        Node* n = NodeOf(pos);
        pos = n->next;
        return n->value;
    }
    const T& GetNext(POSITION& pos) const
    {
        const Node* n = NodeOf(pos);
        pos = n->next;
        return n->value;
    }
    T& GetPrev(POSITION& pos)
    {
        Node* n = NodeOf(pos);
        pos = n->prev;
        return n->value;
    }
    const T& GetPrev(POSITION& pos) const
    {
        const Node* n = NodeOf(pos);
        pos = n->prev;
        return n->value;
    }
    T& GetAt(POSITION pos) { return NodeOf(pos)->value; }
    const T& GetAt(POSITION pos) const { return NodeOf(pos)->value; }
    void SetAt(POSITION pos, const T& v) { NodeOf(pos)->value = v; }

    // Neighbouring positions without reading the value.
    static POSITION NextOf(POSITION pos) { return pos ? pos->next : nullptr; }
    static POSITION PrevOf(POSITION pos) { return pos ? pos->prev : nullptr; }

    POSITION AddHead(const T& v)
    {
        Node* n = new Node(v);
        n->next = m_head;
        if (m_head) m_head->prev = n; else m_tail = n;
        m_head = n;
        ++m_count;
        return n;
    }
    POSITION AddTail(const T& v)
    {
        Node* n = new Node(v);
        n->prev = m_tail;
        if (m_tail) m_tail->next = n; else m_head = n;
        m_tail = n;
        ++m_count;
        return n;
    }
    void AddTail(const CList& other)
    {
        for (POSITION p = other.m_head; p; p = p->next) AddTail(NodeOf(p)->value);
    }
    void AddHead(const CList& other)
    {
        for (POSITION p = other.m_tail; p; p = p->prev) AddHead(NodeOf(p)->value);
    }
    // A null position inserts at the head.
    POSITION InsertAfter(POSITION pos, const T& v)
    {
        if (!pos) return AddHead(v);
        if (pos == m_tail) return AddTail(v);
        Node* n = new Node(v);
        n->prev = pos;
        n->next = pos->next;
        pos->next->prev = n;
        pos->next = n;
        ++m_count;
        return n;
    }
    // A null position inserts at the tail.
    POSITION InsertBefore(POSITION pos, const T& v)
    {
        if (!pos) return AddTail(v);
        if (pos == m_head) return AddHead(v);
        Node* n = new Node(v);
        n->next = pos;
        n->prev = pos->prev;
        pos->prev->next = n;
        pos->prev = n;
        ++m_count;
        return n;
    }
    void RemoveAt(POSITION pos)
    {
        if (pos->prev) pos->prev->next = pos->next; else m_head = pos->next;
        if (pos->next) pos->next->prev = pos->prev; else m_tail = pos->prev;
        delete NodeOf(pos);
        --m_count;
    }
    T RemoveHead()
    {
        T v = NodeOf(m_head)->value;
        RemoveAt(m_head);
        return v;
    }
    T RemoveTail()
    {
        T v = NodeOf(m_tail)->value;
        RemoveAt(m_tail);
        return v;
    }
    void RemoveAll()
    {
        POSITION p = m_head;
        while (p) {
            POSITION next = p->next;
            delete NodeOf(p);
            p = next;
        }
        m_head = m_tail = nullptr;
        m_count = 0;
    }

    // Position of the first element equal to v at or after startAfter's
    // successor (from the head when startAfter is null).
    POSITION Find(const T& v, POSITION startAfter = nullptr) const
    {
        for (POSITION p = startAfter ? startAfter->next : m_head; p; p = p->next)
            if (NodeOf(p)->value == v) return p;
        return nullptr;
    }
    // Position of the zero-based index, or null when out of range.
    POSITION FindIndex(int index) const
    {
        if (index < 0 || index >= m_count) return nullptr;
        POSITION p = m_head;
        while (index-- > 0) p = p->next;
        return p;
    }

    bool operator==(const CList& o) const
    {
        if (m_count != o.m_count) return false;
        for (POSITION a = m_head, b = o.m_head; a; a = a->next, b = b->next)
            if (!(NodeOf(a)->value == NodeOf(b)->value)) return false;
        return true;
    }
    bool operator!=(const CList& o) const { return !(*this == o); }

    // Range-for support.
    template <class V, class NodePtr>
    class Iter {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = V*;
        using reference = V&;
        explicit Iter(POSITION p) : m_pos(p) {}
        V& operator*() const { return static_cast<NodePtr>(m_pos)->value; }
        V* operator->() const { return &static_cast<NodePtr>(m_pos)->value; }
        Iter& operator++() { m_pos = m_pos->next; return *this; }
        bool operator==(const Iter& o) const { return m_pos == o.m_pos; }
        bool operator!=(const Iter& o) const { return m_pos != o.m_pos; }
        POSITION Position() const { return m_pos; }
    private:
        POSITION m_pos;
    };
    using iterator = Iter<T, Node*>;
    using const_iterator = Iter<const T, const Node*>;
    iterator begin() { return iterator(m_head); }
    iterator end() { return iterator(nullptr); }
    const_iterator begin() const { return const_iterator(m_head); }
    const_iterator end() const { return const_iterator(nullptr); }

private:
    static Node* NodeOf(POSITION p) { return static_cast<Node*>(p); }
    void Steal(CList& other)
    {
        m_head = other.m_head;
        m_tail = other.m_tail;
        m_count = other.m_count;
        other.m_head = other.m_tail = nullptr;
        other.m_count = 0;
    }

    CListNodeBase* m_head = nullptr;
    CListNodeBase* m_tail = nullptr;
    int m_count = 0;
};

#include "Types.h"
using CPointList = CList<CPoint>;
