# chmlib (Debian libchm-dev) ships no pkg-config file and no CMake package.
# Provides the imported target CHMLib::CHMLib.
find_path(CHMLIB_INCLUDE_DIR chm_lib.h)
find_library(CHMLIB_LIBRARY NAMES chm)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(CHMLib REQUIRED_VARS CHMLIB_LIBRARY CHMLIB_INCLUDE_DIR)
mark_as_advanced(CHMLIB_INCLUDE_DIR CHMLIB_LIBRARY)

if(CHMLib_FOUND AND NOT TARGET CHMLib::CHMLib)
    add_library(CHMLib::CHMLib UNKNOWN IMPORTED)
    set_target_properties(CHMLib::CHMLib PROPERTIES
        IMPORTED_LOCATION "${CHMLIB_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${CHMLIB_INCLUDE_DIR}")
endif()
