# Runs at install time: copies the DLLs kovra.exe loads from the Qt prefix's
# bin/ (following every import table, the plugins' too) and the plugins it
# loads (the windows and offscreen platforms, the style, the image formats
# of the help pictures and icons) into the install folder. DLLs not in the
# prefix are the system's own and stay out.
#   KOVRA_QT_PREFIX and KOVRA_OBJDUMP are set by installer.cmake.

cmake_policy(SET CMP0057 NEW)
set(_dest "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(_plugins platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll
  imageformats/qjpeg.dll imageformats/qgif.dll imageformats/qico.dll)

# The prefix's DLLs by lower-case name (import tables name them in any case).
file(GLOB _available RELATIVE "${KOVRA_QT_PREFIX}/bin" "${KOVRA_QT_PREFIX}/bin/*.dll")
foreach(_dll IN LISTS _available)
  string(TOLOWER "${_dll}" _key)
  set(_dll_${_key} "${_dll}")
endforeach()

set(_queue "${_dest}/kovra.exe")
foreach(_plugin IN LISTS _plugins)
  get_filename_component(_dir "${_plugin}" DIRECTORY)
  file(INSTALL "${KOVRA_QT_PREFIX}/plugins/${_plugin}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${_dir}")
  list(APPEND _queue "${_dest}/${_plugin}")
endforeach()

set(_seen "")
while(_queue)
  list(POP_FRONT _queue _file)
  execute_process(COMMAND "${KOVRA_OBJDUMP}" -p "${_file}" OUTPUT_VARIABLE _headers RESULT_VARIABLE _rc)
  if(_rc)
    message(FATAL_ERROR "cannot read the import table of ${_file}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" _imports "${_headers}")
  foreach(_import IN LISTS _imports)
    string(REGEX REPLACE "DLL Name: " "" _name "${_import}")
    string(STRIP "${_name}" _name)
    string(TOLOWER "${_name}" _key)
    if(_key IN_LIST _seen OR NOT DEFINED _dll_${_key})
      continue()
    endif()
    list(APPEND _seen "${_key}")
    file(INSTALL "${KOVRA_QT_PREFIX}/bin/${_dll_${_key}}" DESTINATION "${CMAKE_INSTALL_PREFIX}")
    list(APPEND _queue "${_dest}/${_dll_${_key}}")
  endforeach()
endwhile()
