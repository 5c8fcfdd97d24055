#pragma once

#include "core/MVector.h"

#include <cstdint>
#include <string>

// The base of every named group of drawable objects. A container walks its
// items through five operations that do not reveal the item type, so
// LContainerIter can walk any group.
//
// Containers can also form a tree (Attach/Detach). The links are plain
// pointers to objects owned elsewhere; a container unlinks itself from its
// parent and its children when it is destroyed, so no link ever dangles.
class LGenericContainer {
public:
    explicit LGenericContainer(std::string name = {}) : name_(std::move(name)) {}
    explicit LGenericContainer(std::uint32_t id) : id_(id) {}

    // A copy takes the name and the id, not the place in a tree.
    LGenericContainer(const LGenericContainer& other) : id_(other.id_), name_(other.name_) {}
    LGenericContainer& operator=(const LGenericContainer& other);

    virtual ~LGenericContainer();

    virtual const std::string& GetName() const { return name_; }
    virtual std::uint32_t GetId() const { return id_; }

    virtual void First() = 0;
    virtual void Next() = 0;
    // True when the current item has no successor; false when empty.
    virtual bool IsLast() const = 0;
    virtual bool IsEmpty() const = 0;
    // The current item, null when there is none.
    virtual void* Current() = 0;

    // Throws LException when child is this container or one of its
    // ancestors (the tree would become a loop). A child attached elsewhere
    // is detached from its former parent first.
    void Attach(LGenericContainer& child);
    // Detaches the child at index i (0 for the first); throws LException
    // for an index out of range.
    void Detach(std::uint32_t i);

    LGenericContainer* GetParent() const { return parent_; }
    std::uint32_t GetChildCount() const { return children_.GetCount(); }
    LGenericContainer* GetChild(std::uint32_t i) const { return children_[i]; }
    // 0 for a container without parent, else the parent's depth + 1.
    std::uint32_t GetDepth() const;

private:
    void DetachChild(const LGenericContainer& child);

    std::uint32_t id_ = 0;
    std::string name_;
    LGenericContainer* parent_ = nullptr;
    MVector<LGenericContainer*> children_;
};
