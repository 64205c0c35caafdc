# The Debian package: `cpack -G DEB` in the build folder makes
# lamello_VERSION-RELEASE_ARCH.deb from what `cmake --install` installs.
# Its dependencies are found by dpkg-shlibdeps from the binaries. The version
# is the project's; data/ writes the same maintainer and version into the
# package's changelog. The project has no public address yet: set
# LAMELLO_MAINTAINER to a real one before handing packages out.
set(LAMELLO_MAINTAINER "The Lamello developers <maintainers@lamello.invalid>" CACHE STRING
    "Maintainer of the Debian package: name <address>")
set(LAMELLO_DEB_RELEASE 1)
set(LAMELLO_DEB_VERSION ${PROJECT_VERSION}-${LAMELLO_DEB_RELEASE})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lamello)
set(CPACK_PACKAGE_VENDOR "The Lamello developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "slide-in label inserts for device front panels")
set(CPACK_PACKAGE_DESCRIPTION
"Lamello prepares and prints the slide-in label strips, barettes, that name
the lamps, switches and sockets on the front panels of devices. A barette is
a header field over a column of label fields.

Lamello reads a plain text file with one field text per line (Windows-1250),
lays the barettes out on A4 pages at their true size in millimetres, shows
them in a zoomable preview where fields are selected, edited and restyled,
tints every field whose text does not fit, and prints the pages on a system
printer or into a PDF file. Projects keep the texts with every field's font.
lamello-batch prints a file or a project without a window, for scripts.

The user interface is in Polish.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_PACKAGE_RELEASE ${LAMELLO_DEB_RELEASE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LAMELLO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs and buttons in Polish.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
