#include "layout/logic/SplitterOverflowError.h"

SplitterOverflowError::SplitterOverflowError()
    : std::overflow_error("Overflow")
{
}
