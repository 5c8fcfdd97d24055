#pragma once

#include <string>

// An error of MList and MListIter: a small code and a fixed message.
//   1  element requested from an empty list
//   2  index beyond the last element
//   3  a node or its element could not be allocated
//   4  element requested from an invalid iterator
class MListExceptions {
public:
    MListExceptions(int code, std::string message) : code_(code), message_(std::move(message)) {}

    int GetCode() const { return code_; }
    const std::string& GetMessage() const { return message_; }

private:
    int code_;
    std::string message_;
};
