# The program's version lives in one place, the VERSION of project() in CMakeLists.txt. The
# version block of LockBeacon.exe (resources/lock_beacon.rc) takes it from the header written
# here; the setup's file name, version block and uninstall entry (cmake/Installer.cmake), the zip's
# name and the package managers' manifests (cmake/Manifests.cmake, read from the built files)
# follow it too.
function(lockbeacon_version_block exe_target rc_file)
  set(dir ${PROJECT_BINARY_DIR}/generated)
  set(parts "")
  foreach(part MAJOR MINOR PATCH TWEAK)
    set(number "${PROJECT_VERSION_${part}}")
    if(number STREQUAL "")
      set(number 0)
    endif()
    list(APPEND parts ${number})
  endforeach()
  list(JOIN parts "," numbers)
  list(JOIN parts "." text)
  file(CONFIGURE OUTPUT ${dir}/lock_beacon_version.h CONTENT
"// Made by the build from the project's VERSION (cmake/Version.cmake).
#define LOCKBEACON_VERSION_NUMBERS @numbers@
#define LOCKBEACON_VERSION_TEXT \"@text@\"
" @ONLY)
  target_include_directories(${exe_target} PRIVATE ${dir})
  # The resource compiler reports no dependencies: a new version rebuilds the resources.
  set_property(SOURCE ${rc_file} APPEND PROPERTY OBJECT_DEPENDS ${dir}/lock_beacon_version.h)
endfunction()
