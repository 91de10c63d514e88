# What building against libveltrano needs beyond the headers and the link
# (src/library): the CMake package, the pkg-config file and the examples,
# all in the development component. Included from res/Install.cmake.
include(CMakePackageConfigHelpers)

set(cmake_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Veltrano)
install(EXPORT VeltranoTargets NAMESPACE Veltrano:: DESTINATION ${cmake_package_dir}
    COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/VeltranoConfig.cmake.in
    ${PROJECT_BINARY_DIR}/VeltranoConfig.cmake INSTALL_DESTINATION ${cmake_package_dir})
# The SONAME stays while the major version does.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VeltranoConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VeltranoConfig.cmake
    ${PROJECT_BINARY_DIR}/VeltranoConfigVersion.cmake
    DESTINATION ${cmake_package_dir} COMPONENT development)

# A pkg-config file names the folders it was installed for, and the prefix
# is known only when installing (cmake --install --prefix, or /usr when
# CPack installs into its staging folder through DESTDIR). So the file is
# written then, straight to its place, and never into the build tree, which
# `sudo cmake --install` would leave owned by root.
install(CODE "
    set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
    set(libdir [[${CMAKE_INSTALL_LIBDIR}]])
    set(includedir [[${CMAKE_INSTALL_INCLUDEDIR}]])
    cmake_path(ABSOLUTE_PATH libdir BASE_DIRECTORY \"\${prefix}\")
    cmake_path(ABSOLUTE_PATH includedir BASE_DIRECTORY \"\${prefix}\")
    set(PROJECT_VERSION ${PROJECT_VERSION})
    set(pc_file \"\$ENV{DESTDIR}\${libdir}/pkgconfig/veltrano.pc\")
    message(STATUS \"Installing: \${pc_file}\")
    configure_file([[${CMAKE_CURRENT_LIST_DIR}/veltrano.pc.in]] \"\${pc_file}\" @ONLY
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${pc_file}\")
" COMPONENT development)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/libveltrano-dev/examples COMPONENT development)
