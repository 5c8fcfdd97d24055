#include "core/LGenericContainer.h"

#include "core/LException.h"

LGenericContainer& LGenericContainer::operator=(const LGenericContainer& other) {
    id_ = other.id_;
    name_ = other.name_;
    return *this;
}

LGenericContainer::~LGenericContainer() {
    if (parent_) {
        parent_->DetachChild(*this);
    }
    for (std::uint32_t k = 0; k < children_.GetCount(); ++k) {
        children_[k]->parent_ = nullptr;
    }
}

void LGenericContainer::Attach(LGenericContainer& child) {
    for (const LGenericContainer* c = this; c; c = c->parent_) {
        if (c == &child) {
            throw LException("LGenericContainer :: Attach", "can't attach to itself");
        }
    }
    if (child.parent_) {
        child.parent_->DetachChild(child);
    }
    children_.Append(&child);
    child.parent_ = this;
}

void LGenericContainer::Detach(std::uint32_t i) {
    LGenericContainer* child = children_[i];
    children_.RemoveAt(i);
    child->parent_ = nullptr;
}

std::uint32_t LGenericContainer::GetDepth() const {
    std::uint32_t depth = 0;
    for (const LGenericContainer* c = parent_; c; c = c->parent_) {
        ++depth;
    }
    return depth;
}

void LGenericContainer::DetachChild(const LGenericContainer& child) {
    for (std::uint32_t k = 0; k < children_.GetCount(); ++k) {
        if (children_[k] == &child) {
            Detach(k);
            return;
        }
    }
}
