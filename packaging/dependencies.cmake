# Run by CPack over the staged tree, before it builds the package: Depends from dpkg-shlibdeps.
#
# CPack can run dpkg-shlibdeps itself (CPACK_DEBIAN_PACKAGE_SHLIBDEPS), but then it also writes a
# postinst and a postrm that call ldconfig whenever a shared object lies in /usr/lib or in a
# folder directly below it, a test meant for multiarch folders that our private program folder
# /usr/lib/dero-video-converter meets too. The dynamic linker's cache never looks there (the
# programs find their libraries through $ORIGIN), so the package needs no maintainer scripts.
set(root "${CPACK_TEMPORARY_DIRECTORY}")

file(GLOB_RECURSE staged LIST_DIRECTORIES false RELATIVE "${root}" "${root}/*")
set(objects)
foreach(file IN LISTS staged)
    if(NOT IS_SYMLINK "${root}/${file}")
        file(READ "${root}/${file}" magic LIMIT 4 HEX)
        if(magic STREQUAL "7f454c46")
            list(APPEND objects "${file}")
        endif()
    endif()
endforeach()
if(NOT objects)
    message(FATAL_ERROR "no program was staged under ${root}")
endif()

find_program(DERO_SHLIBDEPS dpkg-shlibdeps REQUIRED)
# dpkg-shlibdeps reads a source package's control file from its working folder and tells the
# package's root (for $ORIGIN) by its DEBIAN folder; neither goes into the package.
file(WRITE "${root}/debian/control" "")
file(MAKE_DIRECTORY "${root}/DEBIAN")
execute_process(
    COMMAND ${DERO_SHLIBDEPS} -O -l${CPACK_DERO_PRIVATE_DIR} ${objects}
    WORKING_DIRECTORY "${root}"
    OUTPUT_VARIABLE found ERROR_VARIABLE complaints RESULT_VARIABLE status
    OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REMOVE_RECURSE "${root}/debian" "${root}/DEBIAN")
if(NOT status EQUAL 0 OR NOT found MATCHES "shlibs:Depends=([^\n]+)")
    message(FATAL_ERROR "dpkg-shlibdeps found no dependencies (${status}): ${complaints}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
message(STATUS "Depends: ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
