# What `cmake --install` puts where, and the packages CPack makes of it: a
# Debian package of the program and its manual page, and for the Windows
# build a zip of roster.exe, the README and the example roster files.
include(GNUInstallDirs)

if(WIN32)
    install(TARGETS roster RUNTIME DESTINATION .)
    install(FILES README.md DESTINATION .)
    install(FILES examples/roster.txt examples/malformed.txt DESTINATION examples)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_SYSTEM_NAME win64)
else()
    install(TARGETS roster RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # The manual page is installed compressed, as Debian's are.
    set(manual ${PROJECT_BINARY_DIR}/roster.1)
    add_custom_command(OUTPUT ${manual}.gz
                       COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/roster.1 ${manual}
                       COMMAND gzip -9 -n -f ${manual}
                       DEPENDS ${PROJECT_SOURCE_DIR}/roster.1
                       COMMENT "Compressing the manual page")
    add_custom_target(manual ALL DEPENDS ${manual}.gz)
    install(FILES ${manual}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    set(CPACK_GENERATOR DEB)
endif()

set(CPACK_PACKAGE_NAME roster)
set(CPACK_PACKAGE_VENDOR "The roster developers")
set(CPACK_PACKAGE_CONTACT "The roster developers <roster-devel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keep a small roster of people from a letter-driven menu")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "roster keeps a roster of up to 20 people in memory and lets you maintain\n"
    "it from a letter-driven text menu: open a roster file, add, remove,\n"
    "search, edit, sort and print people, on the screen or as a table in the\n"
    "report file outputdata.txt. Every answer is checked, input may end at\n"
    "any prompt without losing the roster, and a failed save never destroys\n"
    "the last good report.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the program links against, with the versions it needs,
# and libedit, which it loads when it edits lines at a terminal.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(LIBEDIT_INCLUDE_DIR AND LIBEDIT_LIBRARY)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS libedit2)
endif()

include(CPack)
