# The setup: installer/lock_beacon.nsi compiled with makensis into
# <build>/LockBeacon-<major>.<minor>-setup.exe, around a stripped copy of the program and the
# files delivered beside it. Built with everything else when makensis is there (Debian's nsis);
# without it the build says so and makes the zip alone.
function(lockbeacon_add_setup exe_target)
  find_program(LOCKBEACON_MAKENSIS makensis)
  if(NOT LOCKBEACON_MAKENSIS)
    message(STATUS "makensis not found: the setup is not built")
    return()
  endif()
  set(version "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
  set(deliver ${PROJECT_SOURCE_DIR}/resources/deliver)
  set(work ${PROJECT_BINARY_DIR}/installer)
  set(setup ${PROJECT_BINARY_DIR}/LockBeacon-${version}-setup.exe)
  set(script ${PROJECT_SOURCE_DIR}/installer/lock_beacon.nsi)

  # The uninstaller deletes exactly the delivered files (and nothing a user put beside them).
  file(GLOB_RECURSE delivered RELATIVE ${deliver} CONFIGURE_DEPENDS ${deliver}/*)
  list(SORT delivered)
  set(lines "; Made by the build: one line for each file delivered beside the program.\n")
  foreach(file IN LISTS delivered)
    string(REPLACE "/" "\\" file "${file}")
    string(APPEND lines "!insertmacro DELIVERED_FILE \"${file}\"\n")
  endforeach()
  file(CONFIGURE OUTPUT ${work}/delivered_files.nsh CONTENT "${lines}" @ONLY)
  list(TRANSFORM delivered PREPEND ${deliver}/)

  set(stripped ${work}/LockBeacon.exe)
  add_custom_command(
    OUTPUT ${setup}
    COMMAND ${CMAKE_STRIP} -o ${stripped} $<TARGET_FILE:${exe_target}>
    COMMAND ${LOCKBEACON_MAKENSIS} -V2 -INPUTCHARSET UTF8
            -DVERSION=${version} -DVERSION_QUAD=${PROJECT_VERSION}
            -DEXE=${stripped} -DDELIVER=${deliver}
            -DDELIVERED_LIST=${work}/delivered_files.nsh
            -DICON=${PROJECT_SOURCE_DIR}/resources/lock_beacon.ico
            -DOUTFILE=${setup} ${script}
    DEPENDS ${exe_target} ${script} ${delivered} ${work}/delivered_files.nsh
            ${PROJECT_SOURCE_DIR}/resources/lock_beacon.ico
    COMMENT "Building the setup LockBeacon-${version}-setup.exe"
    VERBATIM)
  add_custom_target(setup ALL DEPENDS ${setup})
  set(LOCKBEACON_SETUP ${setup} PARENT_SCOPE)
endfunction()
