# Windows builds: what `cpack` packs (scripts/package.sh runs it). The installer
# and the portable zip carry the same folder: both programs, the sample deck and
# the README as plain text.
install(FILES ${PROJECT_SOURCE_DIR}/samples/latin.mqf DESTINATION .)

# The README with Windows line ends, so that Notepad shows it as it is written.
# (configure_file rewrites it only when it changes; the README holds no @NAME@.)
set(readme_txt ${PROJECT_BINARY_DIR}/README.txt)
configure_file(${PROJECT_SOURCE_DIR}/README.md ${readme_txt} @ONLY NEWLINE_STYLE CRLF)
install(FILES ${readme_txt} DESTINATION .)

# cpack packs what is built; scripts/package.sh builds the two programs first,
# so packing never waits for the unit tests to build.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR ${MQ_VENDOR})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Flash-card trainer with the box method")
# Packages for both kinds of Windows, each from a build of its own: the 32-bit
# program for every Windows, the 64-bit one for 64-bit Windows.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_MQ_BITS 64)
  set(CPACK_MQ_NSIS_TARGET amd64-unicode)
else()
  set(CPACK_MQ_BITS 32)
  set(CPACK_MQ_NSIS_TARGET x86-unicode)
endif()
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win${CPACK_MQ_BITS})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${PROJECT_NAME})
# One Add/Remove Programs entry whatever the version, so an update replaces it.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${PROJECT_NAME})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/packaging/CPackPerGenerator.cmake)

# The installer script is our own (cmake/packaging/NSIS.template.in): the stock
# one has no place for the per-user working folder and offers a PATH change
# that a dialog program does not need.
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/packaging)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# A warning of makensis fails the pack, as one of the compiler fails the build.
set(CPACK_NSIS_EXECUTABLE_PRE_ARGUMENTS -WX)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/shell/Mnemoquill.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/shell/Mnemoquill.ico)
set(CPACK_MQ_VERSION_QUAD ${MQ_VERSION_DOTS})
set(CPACK_MQ_COPYRIGHT "Copyright (C) 2026 ${MQ_VENDOR}")
include(CPack)
