# Windows: `cmake --install` puts kovra.exe with exactly the DLLs and Qt
# plugins it loads into one folder (the DLLs found from the import tables,
# there being no deployment tool for a cross build), and the installer target
# makes kovra-setup-<version>.exe of that folder with Debian's makensis:
# Program Files\Kovra Laser, a Start-menu entry with the icon, an entry in
# the list of installed programs, and an uninstaller.

install(TARGETS kovra RUNTIME DESTINATION .)
# Qt's own directory of the cross prefix: its bin/ holds the DLLs, plugins/ the plugins.
get_filename_component(_qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
find_program(KOVRA_OBJDUMP NAMES ${CMAKE_OBJDUMP} x86_64-w64-mingw32-objdump REQUIRED)
# Qt's own texts (dialog buttons, the file dialog) in the interface
# languages: the prefix has none, and the .qm files are the same on every
# system, so Debian's (qt6-translations-l10n, for this very Qt version) go
# into translations\ beside the program.
get_property(_languages GLOBAL PROPERTY KOVRA_LANGUAGES)
set(KOVRA_QT_TRANSLATIONS "${QT_HOST_PATH}/share/qt6/translations" CACHE PATH
    "Qt's own translations (.qm) that the Windows installer ships")
set(_qt_qm "")
foreach(_lang IN LISTS _languages)
  if(NOT EXISTS "${KOVRA_QT_TRANSLATIONS}/qtbase_${_lang}.qm")
    message(FATAL_ERROR "no qtbase_${_lang}.qm in ${KOVRA_QT_TRANSLATIONS}: apt-get install qt6-translations-l10n")
  endif()
  list(APPEND _qt_qm "${KOVRA_QT_TRANSLATIONS}/qtbase_${_lang}.qm")
endforeach()
install(FILES ${_qt_qm} DESTINATION translations)
install(CODE "
  set(KOVRA_QT_PREFIX \"${_qt_prefix}\")
  set(KOVRA_OBJDUMP \"${KOVRA_OBJDUMP}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/deploy_dlls.cmake)

find_program(KOVRA_MAKENSIS makensis)
if(NOT KOVRA_MAKENSIS)
  message(STATUS "makensis not found: no Windows installer (apt-get install nsis)")
  return()
endif()
set(_setup ${PROJECT_BINARY_DIR}/kovra-setup-${PROJECT_VERSION}.exe)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kovra.nsi.in ${CMAKE_CURRENT_BINARY_DIR}/kovra.nsi @ONLY)
add_custom_command(OUTPUT ${_setup}
  COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/installer
          -DNSI=${CMAKE_CURRENT_BINARY_DIR}/kovra.nsi -DMAKENSIS=${KOVRA_MAKENSIS} -DICON=${KOVRA_WINDOWS_ICON}
          -DOUTPUT=${_setup} -P ${CMAKE_CURRENT_LIST_DIR}/make_installer.cmake
  DEPENDS kovra ${KOVRA_WINDOWS_ICON} ${CMAKE_CURRENT_BINARY_DIR}/kovra.nsi
          ${CMAKE_CURRENT_LIST_DIR}/make_installer.cmake ${CMAKE_CURRENT_LIST_DIR}/deploy_dlls.cmake
  COMMENT "Making the Windows installer kovra-setup-${PROJECT_VERSION}.exe"
  VERBATIM)
add_custom_target(kovra_installer ALL DEPENDS ${_setup})
