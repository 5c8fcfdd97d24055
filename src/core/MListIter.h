#pragma once

#include "core/MList.h"
#include "core/MListExceptions.h"

// Walks an MList by moving the list's own cursor, so only one walk over a
// list can be under way at a time.
template <typename T>
class MListIter {
public:
    explicit MListIter(MList<T>& list) : list_(list) {}

    // Moves to the head; false on an empty list.
    bool First() {
        valid_ = !list_.IsEmpty();
        if (valid_) {
            list_.GoHead();
        }
        return valid_;
    }

    // Moves to the next element; past the tail the iterator becomes invalid.
    bool Next() {
        if (valid_ && !list_.GoNext()) {
            valid_ = false;
        }
        return valid_;
    }

    bool IsValid() const { return valid_; }

    T& Current() {
        // The list may have been emptied behind the iterator's back.
        T* current = valid_ ? list_.GetCurrent() : nullptr;
        if (!current) {
            throw MListExceptions(
                4, "MListIter<T> :: Current(): trying to get an element from the invalid iterator");
        }
        return *current;
    }

private:
    MList<T>& list_;
    bool valid_ = false;
};
