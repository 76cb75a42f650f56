# The fuzz targets, each fuzz/<name>.cpp with its seeds in fuzz/corpus/<name>/.
#
# The Netscape bookmark file and XBEL readers get targets here too once they
# exist: fuzz_netscape_bookmarks and fuzz_xbel, each a .cpp beside the others
# that reads its input with the reader, and seeds in their corpus folders.
set(SITEPINS_FUZZ_TARGETS
    fuzz_library_open
    fuzz_internet_shortcut
    fuzz_instance_frames
    fuzz_native_messages)
