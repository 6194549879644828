# What `cmake --install` puts where, and the packages CPack makes of it: a
# Debian package of the program, its manual page and its changelog (NEWS),
# and for the Windows build a zip of roster.exe, the README, NEWS, the
# manual page as text and the example roster files.
include(GNUInstallDirs)

if(WIN32)
    install(TARGETS roster RUNTIME DESTINATION .)
    install(FILES README.md NEWS DESTINATION .)
    install(FILES examples/roster.txt examples/malformed.txt DESTINATION examples)
    # The manual page as plain text, written as it is installed, where
    # groff is there to write it.
    find_program(GROFF groff)
    if(GROFF)
        install(CODE "execute_process(COMMAND \"${GROFF}\" -man -Tutf8 -P-cbou
                          \"${PROJECT_SOURCE_DIR}/roster.1\"
                          OUTPUT_FILE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/roster-manual.txt\")")
    endif()
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
    # NEWS is the changelog, where Debian looks for one.
    set(changelog ${PROJECT_BINARY_DIR}/changelog)
    add_custom_command(OUTPUT ${changelog}.gz
                       COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/NEWS ${changelog}
                       COMMAND gzip -9 -n -f ${changelog}
                       DEPENDS ${PROJECT_SOURCE_DIR}/NEWS
                       COMMENT "Compressing the changelog")
    add_custom_target(changelog ALL DEPENDS ${changelog}.gz)
    install(FILES ${changelog}.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
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
