# Run by cpack once it has made the packages (CPACK_POST_BUILD_SCRIPTS).
# CPack gives every package with a shared library in /usr/lib a postinst and
# a postrm that only call ldconfig; Debian refreshes the linker's cache
# through the ldconfig trigger instead, and lintian warns about the scripts
# (maintscript-calls-ldconfig). Where a package activates that trigger, the
# two generated scripts come out again; scripts of any other content stay,
# so that lintian still sees them.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    set(tree ${deb}.tree)
    file(REMOVE_RECURSE ${tree})
    execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
    set(triggers)
    if(EXISTS ${tree}/DEBIAN/triggers)
        file(STRINGS ${tree}/DEBIAN/triggers triggers)
    endif()
    if("activate-noawait ldconfig" IN_LIST triggers)
        set(dropped FALSE)
        foreach(script postinst postrm)
            set(file ${tree}/DEBIAN/${script})
            if(EXISTS ${file})
                file(READ ${file} text)
                if(text MATCHES "^#!/bin/sh\n\nset -e\n\nif \\[ \"\\$1\" = \"[a-z]+\" \\]; then\n\tldconfig\nfi\n$")
                    file(REMOVE ${file})
                    set(dropped TRUE)
                endif()
            endif()
        endforeach()
        if(dropped)
            execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${deb}
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
        endif()
    endif()
    file(REMOVE_RECURSE ${tree})
endforeach()
