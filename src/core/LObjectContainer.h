#pragma once

#include "core/LGenericContainer.h"
#include "core/MList.h"

#include <cstdint>
#include <string>

// A named group of objects of one type, kept as owned copies in a list whose
// cursor is the group's current item.
template <typename T>
class LObjectContainer : public LGenericContainer {
public:
    explicit LObjectContainer(std::string name = {}) : LGenericContainer(std::move(name)) {}
    explicit LObjectContainer(std::uint32_t id) : LGenericContainer(id) {}

    void First() override { list_.GoHead(); }
    void Next() override { list_.GoNext(); }
    bool IsLast() const override { return list_.IsAtTail(); }
    bool IsEmpty() const override { return list_.IsEmpty(); }
    void* Current() override { return list_.GetCurrent(); }

    // The current item with its type, null when there is none.
    T* CurrentItem() { return list_.GetCurrent(); }

    MList<T>& List() { return list_; }
    const MList<T>& List() const { return list_; }

private:
    MList<T> list_;
};
