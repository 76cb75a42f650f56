# cpack -G DEB: a Debian package installing under /usr. Its library
# dependencies are read from the installed binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sitepins)
set(CPACK_PACKAGE_VENDOR "The SitePins Manager developers")
set(CPACK_PACKAGE_CONTACT "The SitePins Manager developers <developers@sitepins-manager.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bookmark manager keeping web pages in folders, with notes")
set(CPACK_PACKAGE_DESCRIPTION
    "SitePins Manager keeps web bookmarks, called SitePins, in the folders of a library that is one XML file. It saves the page open in the web browser, searches names, addresses and notes, previews pages, imports and exports the bookmarks of Firefox, Chromium and Chrome, and works from scripts on the command line.")
# The host manifests written at install time name the installed bridge
# host, so the install must run with the final prefix, into a staging root.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.sitepins-manager.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The preview's module lives in a private folder of ours.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS /usr/${SITEPINS_MODULE_DIR})
include(CPack)
