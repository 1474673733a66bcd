# The Windows installer under Wine, as a user meets it: a silent install
# into Program Files\Kovra Laser with its Start-menu entry and its entry in
# the list of installed programs; the installed program prints its help and
# engraves a picture on kovra-sim (linked into the Wine prefix as COM3); the
# silent uninstall removes every installed file, the entry and the shortcut,
# and leaves the user's C:\Kovra\Config.ini.
#   cmake -DSETUP=kovra-setup-<v>.exe -DSTAGE=<installed folder> -DWINE=.../wine64
#         -DSIM=<kovra-sim of this machine> -DWORK=<scratch folder> -P check_installer.cmake

if(DEFINED ENV{WINEPREFIX})
  set(prefix $ENV{WINEPREFIX})
else()
  set(prefix $ENV{HOME}/.wine)
endif()
set(folder "${prefix}/drive_c/Program Files/Kovra Laser")
set(shortcut "${prefix}/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kovra Laser/Kovra Laser.lnk")
set(key "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KovraLaser")
set(env ${CMAKE_COMMAND} -E env WINEDEBUG=-all)

function(wine)
  execute_process(COMMAND ${env} ${WINE} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(rc ${rc} PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

file(SIZE ${SETUP} size)
if(size GREATER 31457280)
  message(FATAL_ERROR "the installer has ${size} bytes, more than 30 MB")
endif()

# Install, silently, where a user already has settings.
set(settings "${prefix}/drive_c/Kovra/Config.ini")
file(REMOVE_RECURSE "${folder}" ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE "${settings}" "[MainWindow]\r\nLanguage=2\r\n")
wine(${SETUP} /S)
if(rc)
  message(FATAL_ERROR "the silent install failed (${rc}): ${err}")
endif()
file(GLOB_RECURSE staged RELATIVE ${STAGE} ${STAGE}/*)
foreach(file IN LISTS staged ITEMS Uninstall.exe)
  if(NOT EXISTS "${folder}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
if(NOT EXISTS "${shortcut}")
  message(FATAL_ERROR "no Start-menu entry at ${shortcut}")
endif()
wine(reg query ${key})
foreach(value "DisplayName    REG_SZ    Kovra Laser" "DisplayVersion" "Publisher" "EstimatedSize"
              "UninstallString" "DisplayIcon")
  if(NOT out MATCHES "${value}")
    message(FATAL_ERROR "the list of installed programs lacks ${value}:\n${out}")
  endif()
endforeach()

# The installed program: its help, then an engraving on the simulated machine.
wine("C:\\Program Files\\Kovra Laser\\kovra.exe" --help)
if(rc OR NOT out MATCHES "usage: kovra")
  message(FATAL_ERROR "the installed kovra.exe --help failed (${rc}): ${err}")
endif()
wine("C:\\Program Files\\Kovra Laser\\kovra.exe" sample "Z:${WORK}/sample.png")
execute_process(COMMAND sh -c "timeout 60 '${SIM}' --port COM3 --port-dir '${prefix}/dosdevices' --link-name com3 \
  --fast --exit-after-carve --burned '${WORK}/burned.png' > '${WORK}/sim.log' 2>&1 &")
foreach(i RANGE 100)
  if(EXISTS "${prefix}/dosdevices/com3")
    break()
  endif()
  execute_process(COMMAND sleep 0.1)
endforeach()
wine("C:\\Program Files\\Kovra Laser\\kovra.exe" engrave "Z:${WORK}/sample.png" --connect-timeout 30 --job-timeout 60)
if(rc OR NOT out MATCHES "Carved finish !")
  message(FATAL_ERROR "the installed program did not engrave (${rc}):\n${out}\n${err}")
endif()

# Uninstall, silently: the uninstaller runs from a copy of itself, so wait
# for the folder to go.
wine("C:\\Program Files\\Kovra Laser\\Uninstall.exe" /S)
foreach(i RANGE 600)
  if(NOT EXISTS "${folder}")
    break()
  endif()
  execute_process(COMMAND sleep 0.1)
endforeach()
if(EXISTS "${folder}")
  file(GLOB_RECURSE left RELATIVE "${folder}" "${folder}/*")
  message(FATAL_ERROR "the uninstaller left ${left}")
endif()
if(EXISTS "${shortcut}")
  message(FATAL_ERROR "the uninstaller left the Start-menu entry")
endif()
wine(reg query ${key})
if(NOT rc)
  message(FATAL_ERROR "the uninstaller left the entry in the list of installed programs")
endif()
file(READ "${settings}" kept)
if(NOT kept MATCHES "Language=2")
  message(FATAL_ERROR "the user's C:\\Kovra\\Config.ini is gone or changed: ${kept}")
endif()
# The settings were this check's own: the prefix is left as it was found.
file(REMOVE "${settings}")
file(REMOVE_RECURSE ${WORK})
message(STATUS "installed, engraved and uninstalled: ${SETUP} (${size} bytes)")
