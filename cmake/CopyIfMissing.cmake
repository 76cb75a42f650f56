# Puts the empty library in place for a fresh build; a library the user has
# already filled must never be overwritten by a rebuild.
if(NOT EXISTS "${DST}")
    get_filename_component(dst_dir "${DST}" DIRECTORY)
    file(MAKE_DIRECTORY "${dst_dir}")
    file(COPY_FILE "${SRC}" "${DST}")
endif()
