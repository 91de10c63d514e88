# python3-veltrano: the Python module's Debian package, one component of the
# component install (CPACK_DEB_COMPONENT_INSTALL) that makes veltrano,
# veltrano-data, libveltrano0 and libveltrano-dev. res/Install.cmake
# includes this file after its own CPack settings and before include(CPack).
# Its files stay out of a plain `cmake --install` (see CMakeLists.txt here),
# and it brings its own copyright and changelog.
get_property(veltrano_python_version GLOBAL PROPERTY VELTRANO_PYTHON_VERSION)
if(NOT veltrano_python_version)
    return()  # built without the Python module
endif()

# The package's version as CPack writes it, so that the module depends on
# exactly the library it was built with.
set(veltrano_deb_version ${CPACK_PACKAGE_VERSION})
if(CPACK_DEBIAN_PACKAGE_VERSION)
    set(veltrano_deb_version ${CPACK_DEBIAN_PACKAGE_VERSION})
endif()
if(CPACK_DEBIAN_PACKAGE_RELEASE)
    string(APPEND veltrano_deb_version "-${CPACK_DEBIAN_PACKAGE_RELEASE}")
endif()
if(CPACK_DEBIAN_PACKAGE_EPOCH)
    string(PREPEND veltrano_deb_version "${CPACK_DEBIAN_PACKAGE_EPOCH}:")
endif()

# The extension is built for one Python version: the range Debian's own
# extension packages depend on.
string(REPLACE "." ";" veltrano_python_parts ${veltrano_python_version})
list(GET veltrano_python_parts 0 veltrano_python_major)
list(GET veltrano_python_parts 1 veltrano_python_minor)
math(EXPR veltrano_python_next "${veltrano_python_minor} + 1")

set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-veltrano)
set(CPACK_DEBIAN_PYTHON_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps adds the C and C++ runtime; libveltrano.so.0 has no shlibs
# file of its own in the same run, hence its package by name.
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "libveltrano0 (= ${veltrano_deb_version}), \
python3 (>= ${veltrano_python_version}~), \
python3 (<< ${veltrano_python_major}.${veltrano_python_next})")
set(CPACK_DEBIAN_PYTHON_PACKAGE_RECOMMENDS veltrano-data)
set(CPACK_DEBIAN_PYTHON_DESCRIPTION "Python module for Veltrano's random names
import veltrano gives Python scripts the names of Veltrano's own data files
and sample cultures at the speed of its C++ library: the same names for a
seed as veltrano-cli --seed, exact counts, filters, unique names, and the
data check of veltrano-cli --check. Refusals raise veltrano.Error with the
German message veltrano-cli prints.")
# The byte code Debian's Python packages compile on installation and remove
# again before removal, as dh_python3 does.
set(CPACK_DEBIAN_PYTHON_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_LIST_DIR}/debian/postinst ${CMAKE_CURRENT_LIST_DIR}/debian/prerm)
set(CPACK_DEBIAN_PYTHON_PACKAGE_CONTROL_STRICT_PERMISSION ON)

list(APPEND CPACK_COMPONENTS_ALL python)
