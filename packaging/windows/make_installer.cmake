# Makes kovra-setup-<version>.exe: installs the build into a fresh folder
# (stripped), writes the lists of its files for the installer and the
# uninstaller, and runs makensis on the installer script.
#   cmake -DBUILD_DIR= -DWORK_DIR= -DNSI= -DMAKENSIS= -DICON= -DOUTPUT= -P make_installer.cmake

set(stage ${WORK_DIR}/stage)
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${stage} --strip
  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(rc)
  message(FATAL_ERROR "cmake --install failed: ${err}")
endif()

# Folders before their files on the way in; files, then folders deepest
# first, on the way out.
file(GLOB_RECURSE files RELATIVE ${stage} ${stage}/*)
list(SORT files)
set(install "")
set(uninstall "")
set(folders "")
set(current "-")
foreach(file IN LISTS files)
  get_filename_component(dir "${file}" DIRECTORY)
  string(REPLACE "/" "\\" winfile "${file}")
  string(REPLACE "/" "\\" windir "${dir}")
  if(NOT dir STREQUAL current)
    if(dir)
      string(APPEND install "  SetOutPath \"$INSTDIR\\${windir}\"\n")
      list(APPEND folders "${windir}")
    else()
      string(APPEND install "  SetOutPath \"$INSTDIR\"\n")
    endif()
    set(current "${dir}")
  endif()
  string(APPEND install "  File \"${stage}/${file}\"\n")
  string(APPEND uninstall "  Delete \"$INSTDIR\\${winfile}\"\n")
endforeach()
list(REMOVE_DUPLICATES folders)
list(SORT folders ORDER DESCENDING)
foreach(dir IN LISTS folders)
  string(APPEND uninstall "  RMDir \"$INSTDIR\\${dir}\"\n")
endforeach()
string(APPEND install "  SetOutPath \"$INSTDIR\"\n")
file(WRITE ${WORK_DIR}/install_files.nsh "${install}")
file(WRITE ${WORK_DIR}/uninstall_files.nsh "${uninstall}")

execute_process(COMMAND ${MAKENSIS} -V2 -DOUTPUT=${OUTPUT} -DICON=${ICON} -DFILES=${WORK_DIR} ${NSI}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(rc)
  message(FATAL_ERROR "makensis failed:\n${out}\n${err}")
endif()
file(SIZE ${OUTPUT} size)
math(EXPR megabytes "${size} / 1048576")
message(STATUS "Windows installer ${OUTPUT}: ${megabytes} MB")
