# The Debian package, made by CPack from the install rules (scripts/package.sh):
# trevo2kpr_<version>_amd64.deb. Library dependencies are computed from the binaries
# (dpkg-shlibdeps); Qt's translations are needed for the Polish standard dialogs and are not a
# library, so they are named.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trevo2kpr)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "trevo2KPR developers")
set(CPACK_PACKAGE_CONTACT "trevo2KPR developers <maintainers@trevo2kpr.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Converter of an exported VAT register into a Polish revenue-and-expense ledger")
# The extended description's lines stay within 80 characters with the leading space dpkg adds.
set(CPACK_PACKAGE_DESCRIPTION
    "trevo2KPR books an invoicing program's VAT register export (fixed-column\n\
text, one document per line) into the monthly data files of a Polish\n\
revenue-and-expense ledger (KPR). It comes as a desktop program (trevo2KPR)\n\
and a command line (trevo2kpr-cli).")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
include(CPack)
