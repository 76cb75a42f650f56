# The fuzz targets, each fuzz/<name>.cpp with its seeds in fuzz/corpus/<name>/.
set(SITEPINS_FUZZ_TARGETS
    fuzz_library_open
    fuzz_internet_shortcut
    fuzz_instance_frames
    fuzz_native_messages
    fuzz_netscape_bookmarks
    fuzz_xbel)
