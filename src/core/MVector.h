#pragma once

#include "core/LException.h"

#include <cstdint>
#include <memory>
#include <utility>

// A short vector whose index range starts anywhere (LowerBound to
// UpperBound) and whose every access is checked. Every change of size
// reallocates exactly count elements: it is meant for short sequences.
template <typename T>
class MVector {
public:
    MVector() = default;

    explicit MVector(std::uint32_t count) {
        if (count > 0) {
            data_ = std::make_unique<T[]>(count);
            count_ = count;
            upperBound_ = count - 1;
        }
    }

    MVector(std::uint32_t lowerBound, std::uint32_t upperBound) {
        if (lowerBound > upperBound) {
            throw LException("MVector :: MVector", "UpperBound < LowerBound");
        }
        if (lowerBound == 0 && upperBound == kMaxCount) {
            throw LException("MVector", "vector of maximum size");
        }
        count_ = upperBound - lowerBound + 1;
        data_ = std::make_unique<T[]>(count_);
        lowerBound_ = lowerBound;
        upperBound_ = upperBound;
        cursor_ = lowerBound;
    }

    MVector(const MVector& other) { CopyFrom(other); }

    MVector(MVector&& other) noexcept
        : data_(std::move(other.data_)), lowerBound_(other.lowerBound_),
          upperBound_(other.upperBound_), cursor_(other.cursor_), count_(other.count_) {
        other.ResetNumbers();
    }

    MVector& operator=(const MVector& other) {
        if (this != &other) {
            CopyFrom(other);
        }
        return *this;
    }

    MVector& operator=(MVector&& other) noexcept {
        if (this != &other) {
            data_ = std::move(other.data_);
            lowerBound_ = other.lowerBound_;
            upperBound_ = other.upperBound_;
            cursor_ = other.cursor_;
            count_ = other.count_;
            other.ResetNumbers();
        }
        return *this;
    }

    T& operator[](std::uint32_t i) { return data_[Offset(i)]; }
    const T& operator[](std::uint32_t i) const { return data_[Offset(i)]; }

    bool IsValidIndex(std::uint32_t i) const {
        return count_ > 0 && lowerBound_ <= i && i <= upperBound_;
    }

    void Append(const T& x) {
        CheckRoomForOneMore();
        // x is copied first: should its copy throw, nothing was moved yet.
        auto grown = std::make_unique<T[]>(count_ + 1);
        grown[count_] = x;
        for (std::uint32_t k = 0; k < count_; ++k) {
            grown[k] = std::move(data_[k]);
        }
        if (count_ > 0) {
            ++upperBound_;
        }
        data_ = std::move(grown);
        ++count_;
    }

    // Places x at index i; the elements from i on move up by one.
    void InsertAt(std::uint32_t i, const T& x) {
        CheckRoomForOneMore();
        const std::uint32_t at = Offset(i);
        auto grown = std::make_unique<T[]>(count_ + 1);
        grown[at] = x;
        for (std::uint32_t k = 0; k < at; ++k) {
            grown[k] = std::move(data_[k]);
        }
        for (std::uint32_t k = at; k < count_; ++k) {
            grown[k + 1] = std::move(data_[k]);
        }
        data_ = std::move(grown);
        ++count_;
        ++upperBound_;
    }

    void RemoveAt(std::uint32_t i) {
        const std::uint32_t at = Offset(i);
        if (count_ == 1) {
            Flush();
            return;
        }
        auto shrunk = std::make_unique<T[]>(count_ - 1);
        for (std::uint32_t k = 0, j = 0; k < count_; ++k) {
            if (k != at) {
                shrunk[j++] = std::move(data_[k]);
            }
        }
        data_ = std::move(shrunk);
        --count_;
        --upperBound_;
        if (cursor_ > upperBound_) {
            cursor_ = upperBound_;
        }
    }

    void Fill(const T& x) {
        for (std::uint32_t k = 0; k < count_; ++k) {
            data_[k] = x;
        }
    }

    void Flush() {
        data_.reset();
        ResetNumbers();
    }

    std::uint32_t GetCount() const { return count_; }
    std::uint32_t GetLowerBound() const { return lowerBound_; }
    std::uint32_t GetUpperBound() const { return upperBound_; }
    std::uint32_t GetCursor() const { return cursor_; }
    void SetCursor(std::uint32_t cursor) { cursor_ = cursor; }
    bool IsEmpty() const { return count_ == 0; }

private:
    static constexpr std::uint32_t kMaxCount = 0xFFFFFFFFu;

    // A vector whose UpperBound is already the largest index cannot grow
    // either: the new UpperBound would wrap around to 0.
    void CheckRoomForOneMore() const {
        if (count_ == kMaxCount || (count_ > 0 && upperBound_ == kMaxCount)) {
            throw LException("MVector", "vector of maximum size");
        }
    }

    std::uint32_t Offset(std::uint32_t i) const {
        if (count_ == 0) {
            throw LException("MVector", "empty vector");
        }
        if (i < lowerBound_ || i > upperBound_) {
            throw LException("MVector[i]", "index out of range");
        }
        return i - lowerBound_;
    }

    void CopyFrom(const MVector& other) {
        std::unique_ptr<T[]> copy;
        if (other.count_ > 0) {
            copy = std::make_unique<T[]>(other.count_);
            for (std::uint32_t k = 0; k < other.count_; ++k) {
                copy[k] = other.data_[k];
            }
        }
        data_ = std::move(copy);
        lowerBound_ = other.lowerBound_;
        upperBound_ = other.upperBound_;
        cursor_ = other.lowerBound_;
        count_ = other.count_;
    }

    void ResetNumbers() { lowerBound_ = upperBound_ = cursor_ = count_ = 0; }

    std::unique_ptr<T[]> data_;
    std::uint32_t lowerBound_ = 0;
    std::uint32_t upperBound_ = 0;
    std::uint32_t cursor_ = 0;
    std::uint32_t count_ = 0;
};
