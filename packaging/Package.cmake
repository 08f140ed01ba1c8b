# Debian packages made by CPack from the install rules (cpack -G DEB in the build folder):
#   corvella         the program, corvella-diff and every file for menus, manuals and the shell
#   corvella-office  the word-processor helper, which needs LibreOffice Writer
# dpkg-shlibdeps computes the library dependencies of each from its binaries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvella)
set(CPACK_PACKAGE_VENDOR Kestrovan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kestrovan <${CORVELLA_SUPPORT_EMAIL}>")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${CORVELLA_HOME_PAGE}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_CORVELLA_PACKAGE_NAME corvella)
# pdftotext is run, not linked, so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_CORVELLA_PACKAGE_DEPENDS "poppler-utils")
set(CPACK_DEBIAN_CORVELLA_DESCRIPTION [[compare the text of two PDF files side by side
Corvella loads the text of two PDF files into two panes and colours the
lines or words that differ; it can list just the differences, save them
and print them.

corvella-diff runs the same comparisons on the command line, without a
display, for scripts and batches of files.

The word-processor comparison method is in the package corvella-office.]])

set(CPACK_COMPONENTS_ALL corvella)
if(TARGET corvella-office-compare)
    list(APPEND CPACK_COMPONENTS_ALL office)
    set(CPACK_DEBIAN_CORVELLA_PACKAGE_SUGGESTS corvella-office)
    set(CPACK_DEBIAN_OFFICE_PACKAGE_NAME corvella-office)
    set(CPACK_DEBIAN_OFFICE_PACKAGE_DEPENDS "corvella (= ${PROJECT_VERSION}), libreoffice-writer")
    set(CPACK_DEBIAN_OFFICE_DESCRIPTION [[word-processor comparison method for Corvella
Shows the differences between the texts of two PDF files as tracked
changes in a new LibreOffice Writer document, when Corvella's comparison
method is set to the word processor.]])
endif()

include(CPack)
