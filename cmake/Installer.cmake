# The exe as it ships: <build>/ship/LockBeacon.exe, a stripped copy of the program, signed by
# tools/sign-pe.sh when the environment names a certificate (it says "unsigned" otherwise). The
# zip and the setup both take this one file. The signature depends on the environment, which
# the build cannot see: `make package` removes the folder first, so that it is made afresh.
function(lockbeacon_add_shipped_exe exe_target)
  set(shipped ${PROJECT_BINARY_DIR}/ship/LockBeacon.exe)
  add_custom_command(
    OUTPUT ${shipped}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/ship
    COMMAND ${CMAKE_STRIP} -o ${shipped} $<TARGET_FILE:${exe_target}>
    COMMAND ${CMAKE_COMMAND} -E env LOCKBEACON_SIGN_INFO_URL=https://${LOCKBEACON_SERVER_HOST}/
            ${PROJECT_SOURCE_DIR}/tools/sign-pe.sh ${shipped}
    DEPENDS ${exe_target} ${PROJECT_SOURCE_DIR}/tools/sign-pe.sh
    COMMENT "Stripping (and signing) the shipped LockBeacon.exe"
    VERBATIM)
  add_custom_target(shipped_exe ALL DEPENDS ${shipped})
  set(LOCKBEACON_SHIPPED_EXE ${shipped} PARENT_SCOPE)
endfunction()

# The setup: installer/lock_beacon.nsi compiled with makensis into
# <build>/LockBeacon-<major>.<minor>-setup.exe, around the shipped exe and the files delivered
# beside it. Its uninstaller and the setup itself are signed like the exe (!uninstfinalize,
# !finalize); a copy of the uninstaller stays in <build>/installer for the release audit. Built with everything else when makensis is there (Debian's nsis);
# without it the build says so and makes the zip alone.
function(lockbeacon_add_setup)
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

  set(uninstaller ${work}/Uninstall.exe)
  add_custom_command(
    OUTPUT ${setup} ${uninstaller}
    COMMAND ${CMAKE_COMMAND} -E env LOCKBEACON_SIGN_INFO_URL=https://${LOCKBEACON_SERVER_HOST}/
            ${LOCKBEACON_MAKENSIS} -V2 -INPUTCHARSET UTF8
            -DVERSION=${version} -DVERSION_QUAD=${PROJECT_VERSION}
            -DEXE=${LOCKBEACON_SHIPPED_EXE} -DDELIVER=${deliver}
            -DSIGN=${PROJECT_SOURCE_DIR}/tools/sign-pe.sh -DUNINSTALLER_COPY=${uninstaller}
            -DDELIVERED_LIST=${work}/delivered_files.nsh
            -DICON=${PROJECT_SOURCE_DIR}/resources/lock_beacon.ico
            -DOUTFILE=${setup} ${script}
    DEPENDS ${LOCKBEACON_SHIPPED_EXE} ${script} ${delivered} ${work}/delivered_files.nsh
            ${PROJECT_SOURCE_DIR}/tools/sign-pe.sh
            ${PROJECT_SOURCE_DIR}/resources/lock_beacon.ico
    COMMENT "Building the setup LockBeacon-${version}-setup.exe"
    VERBATIM)
  add_custom_target(setup ALL DEPENDS ${setup})
  set(LOCKBEACON_SETUP ${setup} PARENT_SCOPE)
  set(LOCKBEACON_UNINSTALLER ${uninstaller} PARENT_SCOPE)
endfunction()
