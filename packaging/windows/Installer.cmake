# The Windows installer, made by CPack's NSIS generator from this folder's install rules
# (scripts/windows-installer.sh): trevo2kpr-<version>-win64-setup.exe. A 64-bit installer for
# all users into Program Files, with a Start menu entry for the desktop program and an
# uninstaller listed among the installed programs. The uninstaller removes the files it
# installed and nothing else: the users' settings (%APPDATA%\trevo2KPR\trevo2KPR.INI) and
# their ledgers stay.
set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME trevo2KPR)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "trevo2KPR developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Przenosi rejestr VAT wyeksportowany z programu fakturującego do KPR")
set(CPACK_PACKAGE_FILE_NAME trevo2kpr-${PROJECT_VERSION}-win64-setup)
set(CPACK_PACKAGE_INSTALL_DIRECTORY trevo2KPR)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY trevo2KPR)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_NSIS_PACKAGE_NAME trevo2KPR)
set(CPACK_NSIS_DISPLAY_NAME "trevo2KPR ${PROJECT_VERSION}")
# Program Files of 64-bit Windows, not its 32-bit sibling: the installer itself is a 64-bit
# program (NSIS's amd64 stub), so the folder and the registry are the native ones. Unicode for
# the Polish texts; the user's own language picks the installer's.
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DEFINES "  Unicode true\n  Target amd64-unicode")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_UNINSTALL_NAME Odinstaluj)
set(CPACK_NSIS_INSTALLED_ICON_NAME trevo2kpr-cli.exe)
if(TARGET trevo2KPR)
    set(CPACK_NSIS_INSTALLED_ICON_NAME trevo2KPR.exe)
    # The Start menu entry; the template adds the uninstaller's entry beside it and removes
    # both (and the folder, when empty) on uninstall. Each "\\\\" is one backslash in the script:
    # CPackConfig.cmake is read once more.
    set(CPACK_NSIS_CREATE_ICONS_EXTRA "  CreateShortCut \
'$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\trevo2KPR.lnk' '$INSTDIR\\\\trevo2KPR.exe'")
    set(CPACK_NSIS_DELETE_ICONS_EXTRA "  Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\trevo2KPR.lnk'")
endif()
include(CPack)
