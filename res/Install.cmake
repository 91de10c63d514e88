# The installation's shared parts and the Debian packages made of it all.
# Included from the top-level CMakeLists.txt after src/ and man/. Every
# install rule names a component, and `cpack -G DEB` in the build folder
# makes one package of each:
#   programs     veltrano          (rules without COMPONENT land here)
#   data         veltrano-data
#   library      libveltrano0
#   development  libveltrano-dev
# Together they hold exactly what `cmake --install` puts in place. Another
# package is one more component and one more veltrano_debian_package()
# below; tests/package/check-install.sh then expects its name too.

install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${VELTRANO_DATA_SUBDIR}
    COMPONENT data)
include(${CMAKE_CURRENT_LIST_DIR}/library/DevelopmentFiles.cmake)

# Debian wants its changelog compressed, with no name or time stamp inside,
# so that two builds give the same bytes.
set(changelog_gz ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${CMAKE_CURRENT_LIST_DIR}/debian/changelog
        ${changelog_gz}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/debian/changelog
    VERBATIM)
add_custom_target(veltrano_changelog ALL DEPENDS ${changelog_gz})

set(VELTRANO_PACKAGE_MAINTAINER "Veltrano-Team <veltrano@brannock.de>"
    CACHE STRING "Maintainer field of the Debian packages")

# veltrano_debian_package(COMPONENT PACKAGE SECTION section
#     [ARCHITECTURE all] [DEPENDS dep...] [RECOMMENDS dep...]
#     [CONTROL_EXTRA file...] DESCRIPTION "synopsis\nlong description")
# Makes the install component COMPONENT into the Debian package PACKAGE,
# with the copyright and changelog that Debian wants in every package's own
# documentation folder. Dependencies found by dpkg-shlibdeps are added.
function(veltrano_debian_package component package)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "SECTION;ARCHITECTURE;DESCRIPTION"
        "DEPENDS;RECOMMENDS;CONTROL_EXTRA")
    string(TOUPPER ${component} var)
    set(CPACK_DEBIAN_${var}_PACKAGE_NAME ${package} PARENT_SCOPE)
    set(CPACK_DEBIAN_${var}_PACKAGE_SECTION ${arg_SECTION} PARENT_SCOPE)
    set(CPACK_DEBIAN_${var}_DESCRIPTION ${arg_DESCRIPTION} PARENT_SCOPE)
    if(arg_ARCHITECTURE)
        set(CPACK_DEBIAN_${var}_PACKAGE_ARCHITECTURE ${arg_ARCHITECTURE} PARENT_SCOPE)
    endif()
    foreach(field DEPENDS RECOMMENDS)
        list(JOIN arg_${field} ", " value)
        set(CPACK_DEBIAN_${var}_PACKAGE_${field} "${value}" PARENT_SCOPE)
    endforeach()
    set(CPACK_DEBIAN_${var}_PACKAGE_CONTROL_EXTRA ${arg_CONTROL_EXTRA} PARENT_SCOPE)
    set(CPACK_COMPONENTS_ALL ${CPACK_COMPONENTS_ALL} ${component} PARENT_SCOPE)
    install(FILES ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/debian/copyright ${changelog_gz}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endfunction()

veltrano_debian_package(programs veltrano SECTION utils
    # Qt finds the window system through a plugin that no library links;
    # without the translations Qt's own dialogs are English.
    DEPENDS qt6-qpa-plugins "veltrano-data (= ${PROJECT_VERSION})"
    RECOMMENDS qt6-translations-l10n
    DESCRIPTION "invents random names from your own syllable lists
Veltrano builds names from fragment lists and weighted patterns that are
kept in three plain text files written by the user. A desktop program shows
lists of names for a chosen culture and name type and saves them, and the
command-line tool veltrano-cli makes names from the same data for scripts
and checks data files for mistakes.
.
This package holds both programs, their manual pages, the desktop entry and
bash completion for veltrano-cli.")

veltrano_debian_package(data veltrano-data SECTION utils ARCHITECTURE all
    DESCRIPTION "eighteen sample cultures for the Veltrano name generator
Veltrano builds names from fragment lists and weighted patterns that are
kept in three plain text files written by the user.
.
This package holds the sample data in /usr/share/veltrano: an init file, a
language file of syllable lists and a semantics file with eighteen cultures
and their name types. The programs and the library start on it until the
user chooses other data.")

veltrano_debian_package(library libveltrano0 SECTION libs
    RECOMMENDS "veltrano-data (= ${PROJECT_VERSION})"
    # The dynamic linker's cache is refreshed by dpkg's trigger, not by
    # maintainer scripts.
    CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/triggers
    DESCRIPTION "random names from your own syllable lists - shared library
Veltrano builds names from fragment lists and weighted patterns that are
kept in three plain text files written by the user.
.
This package holds libveltrano.so.0, which lets other programs load such
data, list its cultures and name types, make names with the filters of
veltrano-cli and check data files, through a C and a C++ interface.")

veltrano_debian_package(development libveltrano-dev SECTION libdevel
    DEPENDS "libveltrano0 (= ${PROJECT_VERSION})"
    DESCRIPTION "random names from your own syllable lists - development files
Veltrano builds names from fragment lists and weighted patterns that are
kept in three plain text files written by the user.
.
This package holds what building against libveltrano needs: the headers
veltrano/veltrano.h (C) and veltrano/veltrano.hpp (C++), the CMake package
Veltrano with the target Veltrano::veltrano, the pkg-config file veltrano,
the manual page veltrano(3) and two example programs.")

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
# No CPACK_PACKAGE_DESCRIPTION_SUMMARY: CPack would put it above every
# package's own synopsis.
set(CPACK_PACKAGE_NAME veltrano)
set(CPACK_PACKAGE_VENDOR Brannock)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE veltrano)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELTRANO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# A package whose binaries link libveltrano.so.0 (a Python module, say) is
# checked against the build tree's copy, as the library is not installed
# where dpkg-shlibdeps looks. That copy belongs to no installed package, so
# such a package names "libveltrano0 (>= ${PROJECT_VERSION})" in its
# DEPENDS itself.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/${CMAKE_INSTALL_LIBDIR})
# A program built against this version runs with any later one of the same
# SONAME.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian/LdconfigTrigger.cmake)
# python3-veltrano, where the Python module is built.
include(${PROJECT_SOURCE_DIR}/src/python/Package.cmake)
include(CPack)
