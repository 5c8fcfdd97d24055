#pragma once

#include <string>

// An error found by the logic: where it was found and what is wrong.
class LException {
public:
    LException(std::string place, std::string description)
        : place_(std::move(place)), description_(std::move(description)) {}

    const std::string& GetPlace() const { return place_; }
    const std::string& GetDescription() const { return description_; }

private:
    std::string place_;
    std::string description_;
};
