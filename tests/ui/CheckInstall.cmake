# Installs the build tree into a scratch prefix and checks that the program,
# its sample data, the desktop file and the icons land where a Linux desktop
# looks for them, and that the installed program, started for the first time,
# points its new store at the installed data.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P CheckInstall.cmake

cmake_minimum_required(VERSION 3.25)

function(fail message)
    message(FATAL_ERROR "install check: ${message}")
endfunction()

file(REMOVE_RECURSE ${PREFIX} ${PREFIX}-config)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    fail("cmake --install failed (${result})")
endif()

set(expected
    bin/veltrano
    share/veltrano/init.txt
    share/applications/veltrano.desktop
    share/icons/hicolor/scalable/apps/veltrano.svg)
foreach(size 16 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/veltrano.png)
endforeach()
foreach(file ${expected})
    if(NOT EXISTS ${PREFIX}/${file})
        fail("${file} is missing")
    endif()
endforeach()

file(STRINGS ${PREFIX}/share/applications/veltrano.desktop desktop)
foreach(line "Name=Veltrano" "Exec=veltrano" "Icon=veltrano" "Categories=Utility;")
    if(NOT line IN_LIST desktop)
        fail("the desktop file lacks ${line}")
    endif()
endforeach()

# A first start: no store yet. The program keeps running until it is stopped,
# so `timeout` ending it (124) is the good outcome.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
        XDG_CONFIG_HOME=${PREFIX}-config timeout 5 ${PREFIX}/bin/veltrano
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 124)
    fail("the installed program ended at start (${result})")
endif()
set(store ${PREFIX}-config/Brannock/Veltrano.conf)
if(NOT EXISTS ${store})
    fail("the first start created no store")
endif()
file(STRINGS ${store} values)
file(REAL_PATH ${PREFIX}/share/veltrano data_dir)
if(NOT "DataDir=${data_dir}" IN_LIST values OR NOT "InitFile=init.txt" IN_LIST values)
    fail("the new store does not point at ${data_dir}/init.txt: ${values}")
endif()
message(STATUS "install check passed")
