#pragma once

// An error of the matrix classes, identified by a numeric code.
class WMException {
public:
    enum Code {
        AllocationFailed = 1,
        LockFailed = 2,
        IndexOutOfRange = 3,
        RowsDontMatch = 4,
        ColumnsDontMatch = 5,
        ResultTooBig = 6,
    };

    explicit WMException(int code) : code_(code) {}

    int GetCode() const { return code_; }
    const char* GetMessage() const;

private:
    int code_;
};
