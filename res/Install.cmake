# What both programs share in an installation, and the Debian package made of
# it all. Included from the top-level CMakeLists.txt.

install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${VELTRANO_DATA_SUBDIR})

# Debian wants its changelog compressed, with no name or time stamp inside,
# so that two builds give the same bytes.
set(changelog_gz ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${CMAKE_CURRENT_LIST_DIR}/debian/changelog
        ${changelog_gz}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/debian/changelog
    VERBATIM)
add_custom_target(veltrano_changelog ALL DEPENDS ${changelog_gz})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${changelog_gz}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/veltrano)

set(VELTRANO_PACKAGE_MAINTAINER "Veltrano-Team <veltrano@brannock.de>"
    CACHE STRING "Maintainer field of the Debian package")

# `cpack -G DEB` in the build folder makes veltrano_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrano)
set(CPACK_PACKAGE_VENDOR Brannock)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "invents random names from your own syllable lists")
set(CPACK_PACKAGE_DESCRIPTION "\
Veltrano builds names from fragment lists and weighted patterns that are
kept in three plain text files written by the user. Eighteen sample cultures
come with it. A desktop program shows lists of names for a chosen culture
and name type and saves them, and the command-line tool veltrano-cli makes
names from the same data for scripts and checks data files for mistakes.")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELTRANO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; Qt finds the
# window system through a plugin that no library links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# German texts in Qt's own dialogs; without them they are English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(${PROJECT_SOURCE_DIR}/src/python/Package.cmake)
include(CPack)
