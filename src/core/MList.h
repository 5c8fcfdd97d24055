#pragma once

#include "core/MListExceptions.h"

#include <cstdint>
#include <memory>
#include <new>
#include <utility>

// A doubly linked list of owned copies with a cursor. Most operations move
// the cursor, so code that walks a list (MListIter) and code that changes it
// must not interleave.
template <typename T>
class MList {
public:
    MList() = default;

    MList(const MList& other) { AppendCopiesOf(other); }

    MList(MList&& other) noexcept { Swap(other); }

    MList& operator=(const MList& other) {
        if (this != &other) {
            MList copy(other);
            Swap(copy);
        }
        return *this;
    }

    MList& operator=(MList&& other) noexcept {
        if (this != &other) {
            Flush();
            Swap(other);
        }
        return *this;
    }

    ~MList() { Flush(); }

    // Links a copy of x after the tail; the cursor is left on the former
    // tail (on the new node when the list was empty).
    void addAtTail(const T& x) {
        std::unique_ptr<Node> node =
            Allocate(x, "MList<T> :: addAtTail() failed to allocate element");
        Node* added = node.get();
        if (!tail_) {
            head_ = std::move(node);
            tail_ = cursor_ = added;
        } else {
            added->previous = tail_;
            cursor_ = tail_;
            tail_->next = std::move(node);
            tail_ = added;
        }
        ++count_;
    }

    // Links a copy of x before the head; the cursor is left on the former
    // head (on the new node when the list was empty).
    void addAtHead(const T& x) {
        std::unique_ptr<Node> node =
            Allocate(x, "MList<T> :: addAtHead() failed to allocate element");
        Node* added = node.get();
        if (!head_) {
            head_ = std::move(node);
            tail_ = cursor_ = added;
        } else {
            cursor_ = head_.get();
            head_->previous = added;
            added->next = std::move(head_);
            head_ = std::move(node);
        }
        ++count_;
    }

    // The element i places after the head; the cursor is left on it.
    T& operator[](std::uint32_t i) {
        if (count_ == 0) {
            throw MListExceptions(
                1, "MList::operator[]: You are trying to get element from empty list");
        }
        if (i >= count_) {
            throw MListExceptions(2, "MList::operator[]: index out of range");
        }
        cursor_ = head_.get();
        for (std::uint32_t k = 0; k < i; ++k) {
            cursor_ = cursor_->next.get();
        }
        return cursor_->element;
    }

    void GoHead() { cursor_ = head_.get(); }
    void GoTail() { cursor_ = tail_; }

    // Moves the cursor to its successor; false (and no move) at the tail or
    // on an empty list.
    bool GoNext() {
        if (!cursor_ || !cursor_->next) {
            return false;
        }
        cursor_ = cursor_->next.get();
        return true;
    }

    bool IsAtTail() const { return cursor_ && cursor_ == tail_; }

    // The element under the cursor, null on an empty list.
    T* GetCurrent() { return cursor_ ? &cursor_->element : nullptr; }
    const T* GetCurrent() const { return cursor_ ? &cursor_->element : nullptr; }

    // Unlinks and destroys the cursor's node; the cursor moves to the
    // previous node, or to the next one when there is none.
    void RemoveCurrent() {
        if (!cursor_) {
            return;
        }
        Node* gone = cursor_;
        Node* previous = gone->previous;
        Node* next = gone->next.get();
        cursor_ = previous ? previous : next;
        if (next) {
            next->previous = previous;
        } else {
            tail_ = previous;
        }
        // Re-linking the owner of `gone` destroys it last.
        std::unique_ptr<Node>& owner = previous ? previous->next : head_;
        std::unique_ptr<Node> doomed = std::move(owner);
        owner = std::move(doomed->next);
        --count_;
    }

    // Calls visit on every element from the head, without moving the
    // cursor, so that a walk can run while another holds the cursor.
    template <typename Visit>
    void ForEach(Visit visit) {
        for (Node* node = head_.get(); node; node = node->next.get()) {
            visit(node->element);
        }
    }
    template <typename Visit>
    void ForEach(Visit visit) const {
        for (const Node* node = head_.get(); node; node = node->next.get()) {
            visit(node->element);
        }
    }

    void RemoveHead() {
        GoHead();
        RemoveCurrent();
    }

    void Flush() {
        // One node at a time: a recursive destruction of the chain could
        // exhaust the stack on a long list.
        while (head_) {
            head_ = std::move(head_->next);
        }
        tail_ = cursor_ = nullptr;
        count_ = 0;
    }

    std::uint32_t GetCount() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }

private:
    struct Node {
        explicit Node(const T& x) : element(x) {}
        T element;
        Node* previous = nullptr;
        std::unique_ptr<Node> next;
    };

    static std::unique_ptr<Node> Allocate(const T& x, const char* failure) {
        try {
            return std::make_unique<Node>(x);
        } catch (const std::bad_alloc&) {
            throw MListExceptions(3, failure);
        }
    }

    void AppendCopiesOf(const MList& other) {
        for (const Node* n = other.head_.get(); n; n = n->next.get()) {
            addAtTail(n->element);
        }
    }

    void Swap(MList& other) noexcept {
        std::swap(head_, other.head_);
        std::swap(tail_, other.tail_);
        std::swap(cursor_, other.cursor_);
        std::swap(count_, other.count_);
    }

    std::unique_ptr<Node> head_;
    Node* tail_ = nullptr;
    Node* cursor_ = nullptr;
    std::uint32_t count_ = 0;
};
