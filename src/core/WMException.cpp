#include "core/WMException.h"

const char* WMException::GetMessage() const {
    switch (code_) {
    case AllocationFailed:
        return "Allocation of global memory failed";
    case LockFailed:
        return "Locking of global memory failed";
    case IndexOutOfRange:
        return "Matrix index out of range";
    case RowsDontMatch:
        return "Rows don't match";
    case ColumnsDontMatch:
        return "Columns don't match";
    case ResultTooBig:
        return "Resulting matrix too big";
    default:
        return "Unknown exception code";
    }
}
