# SPDX-FileCopyrightText: 2026 The huaben developers
# SPDX-License-Identifier: GPL-3.0-or-later
# A Debian package of the installed program: `cpack -G DEB` in the build folder.
include(GNUInstallDirs)

# Debian wants a copyright file, and the changelog and manual page compressed.
set(HUABEN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/huaben)
set(HUABEN_GZIPPED)
foreach(file changelog huaben.1)
    set(gz ${CMAKE_CURRENT_BINARY_DIR}/packaging/${file}.gz)
    add_custom_command(OUTPUT ${gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
        COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/${file} > ${gz}
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${file} VERBATIM)
    list(APPEND HUABEN_GZIPPED ${gz})
endforeach()
add_custom_target(huaben_packaging_docs ALL DEPENDS ${HUABEN_GZIPPED})
install(FILES packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${HUABEN_DOC_DIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/huaben.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME huaben)
set(CPACK_PACKAGE_VENDOR "huaben")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_CONTACT "huaben maintainers <maintainers@huaben.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "picture-and-text e-book reader and composer")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "huaben reads and composes picture-and-text e-books. A book is a folder of\n"
    "pictures, RTF or plain-text files that explain them, and a catalog,\n"
    "DocItem.txt. The reader shows the catalog, the page picture and its text,\n"
    "zooms, shows the picture full screen, plays the pages as a slide show and\n"
    "prints the picture. The interface is in Simplified Chinese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The X11 platform plugin and the CJK fonts are loaded at run time, out of the linker's sight.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
