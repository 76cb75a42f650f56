#pragma once

// Result codes of the registry routines. They keep the registry's own numbers
// so that callers comparing against them behave as they always did.
enum RegistryResult : int
{
    ERROR_SUCCESS = 0,
    ERROR_FILE_NOT_FOUND = 2,
    ERROR_ACCESS_DENIED = 5,
    ERROR_INVALID_HANDLE = 6,
    ERROR_INVALID_PARAMETER = 87,
    ERROR_CANTREAD = 1012,
    ERROR_CANTWRITE = 1013,
    ERROR_KEY_DELETED = 1018,
    // queryRegistryValue found a value of a type it does not read.
    ERROR_UNSUPPORTED_TYPE = -1,
};
