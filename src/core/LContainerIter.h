#pragma once

#include "core/LGenericContainer.h"

// Walks any container through its item operations, without knowing the
// item type. Like MListIter it moves the container's own cursor.
class LContainerIter {
public:
    explicit LContainerIter(LGenericContainer& container)
        : container_(&container), valid_(!container.IsEmpty()) {
        if (valid_) {
            container_->First();
        }
    }

    // Moves to the next item; past the last one the iterator becomes
    // invalid, and an invalid iterator stays invalid.
    bool Next() {
        if (valid_ && !container_->IsEmpty() && !container_->IsLast()) {
            container_->Next();
        } else {
            valid_ = false;
        }
        return valid_;
    }

    bool IsValid() const { return valid_; }

    // The container's current item, null when the iterator is invalid.
    void* Current() const { return valid_ ? container_->Current() : nullptr; }

private:
    LGenericContainer* container_;
    bool valid_;
};
