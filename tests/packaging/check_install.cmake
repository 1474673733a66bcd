# Installs the build tree into a temporary prefix and checks what a desktop
# gets: the programs (kovra --help runs without a display), the desktop entry,
# the metainfo, the icons at their sizes and man pages that hold every option
# the programs' --help texts name. The validators run when they are installed.
#   cmake -DBUILD_DIR=... -DAPP_ID=... -P check_install.cmake
# On Windows, what the folder holds: the program with the DLLs and plugins it
# loads and Qt's own texts, and nothing else; the program runs from there.
#   cmake -DBUILD_DIR=... -DWINDOWS=ON -DWINE=.../wine64 -P check_install.cmake

set(prefix ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(rc)
  message(FATAL_ERROR "cmake --install failed: ${err}")
endif()

if(WINDOWS)
  file(GLOB_RECURSE installed RELATIVE ${prefix} ${prefix}/*)
  list(SORT installed)
  set(expected Qt6Core.dll Qt6Gui.dll Qt6SerialPort.dll Qt6Widgets.dll imageformats/qgif.dll imageformats/qico.dll
    imageformats/qjpeg.dll kovra.exe libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll platforms/qoffscreen.dll
    platforms/qwindows.dll styles/qwindowsvistastyle.dll)
  # Qt's own texts in the interface languages.
  foreach(lang de fr it ja zh_CN zh_TW)
    list(APPEND expected translations/qtbase_${lang}.qm)
  endforeach()
  if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "installed: ${installed}\nexpected: ${expected}")
  endif()
  # Wine itself, not the build's runner, which adds the Qt prefix to the
  # search path: the program and its plugins start from the folder alone.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEDEBUG=-all WINEQT_QPA_PLATFORM=offscreen
                          ${WINE} ${prefix}/kovra.exe --help
    RESULT_VARIABLE rc OUTPUT_VARIABLE help ERROR_VARIABLE err)
  if(rc OR NOT help MATCHES "usage: kovra")
    message(FATAL_ERROR "the installed kovra.exe --help failed (${rc}): ${err}")
  endif()
  file(REMOVE_RECURSE ${prefix})
  message(STATUS "installed folder checked: ${installed}")
  return()
endif()

set(icon_sizes 16 22 24 32 48 64 128 256 512)
set(expected bin/kovra bin/kovra-sim share/applications/${APP_ID}.desktop share/metainfo/${APP_ID}.metainfo.xml
  share/man/man1/kovra.1.gz share/man/man1/kovra-sim.1.gz)
foreach(size IN LISTS icon_sizes)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
foreach(file IN LISTS expected)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# Each icon is a PNG of its size (width and height from the IHDR chunk).
foreach(size IN LISTS icon_sizes)
  file(READ ${prefix}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png head HEX LIMIT 24)
  math(EXPR side "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${side}" 2 -1 side)
  string(LENGTH "${side}" len)
  while(len LESS 8)
    string(PREPEND side 0)
    math(EXPR len "${len} + 1")
  endwhile()
  if(NOT head STREQUAL "89504e470d0a1a0a0000000d49484452${side}${side}")
    message(FATAL_ERROR "icon ${size}x${size} is not a PNG of that size: ${head}")
  endif()
endforeach()

# The installed program prints its help with no display at all.
set(no_display ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM)
function(help_of out)
  execute_process(COMMAND ${no_display} ${ARGN} --help RESULT_VARIABLE rc OUTPUT_VARIABLE text ERROR_QUIET)
  if(rc)
    message(FATAL_ERROR "${ARGN} --help failed (${rc})")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Every option a --help text names is in the man page made from it.
function(check_page page)
  execute_process(COMMAND gzip -dc ${prefix}/share/man/man1/${page}.1.gz OUTPUT_VARIABLE roff RESULT_VARIABLE rc)
  if(rc)
    message(FATAL_ERROR "cannot read the ${page} man page")
  endif()
  string(REPLACE "\\-" "-" roff "${roff}")
  foreach(help IN LISTS ARGN)
    string(REGEX MATCHALL "--[a-z][a-z-]*" options "${help}")
    foreach(option IN LISTS options)
      string(FIND "${roff}" "${option}" at)
      if(at EQUAL -1)
        message(FATAL_ERROR "the ${page} man page lacks ${option}")
      endif()
    endforeach()
  endforeach()
  find_program(GROFF groff)
  if(GROFF)
    execute_process(COMMAND gzip -dc ${prefix}/share/man/man1/${page}.1.gz COMMAND ${GROFF} -man -ww -z -Tutf8
      ERROR_VARIABLE warnings RESULT_VARIABLE rc)
    if(rc OR warnings)
      message(FATAL_ERROR "groff finds fault with the ${page} man page: ${warnings}")
    endif()
  endif()
endfunction()

help_of(kovra_help ${prefix}/bin/kovra)
help_of(engrave_help ${prefix}/bin/kovra engrave)
help_of(doctor_help ${prefix}/bin/kovra doctor)
help_of(sim_help ${prefix}/bin/kovra-sim)
check_page(kovra "${kovra_help}" "${engrave_help}" "${doctor_help}")
check_page(kovra-sim "${sim_help}")

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${prefix}/share/applications/${APP_ID}.desktop RESULT_VARIABLE rc)
  if(rc)
    message(FATAL_ERROR "desktop-file-validate rejects the installed desktop entry")
  endif()
endif()
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${prefix}/share/metainfo/${APP_ID}.metainfo.xml RESULT_VARIABLE rc)
  if(rc)
    message(FATAL_ERROR "appstreamcli rejects the installed metainfo")
  endif()
endif()
file(REMOVE_RECURSE ${prefix})
message(STATUS "installed tree checked: ${expected}")
