# What the zip holds: one folder LockBeacon-<version>-win64 with the program and exactly the
# files delivered beside it, byte for byte, and nothing else (no settings.ini, no test program).
# Run as a test: cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DPACKAGE_NAME=... -DSHIPPED_EXE=...
#   -P zip_contents.cmake
set(work ${BUILD_DIR}/package-test)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work}/out ${work}/unpacked)
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G ZIP -B ${work}/out
                WORKING_DIRECTORY ${BUILD_DIR} RESULT_VARIABLE result OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
set(zip ${work}/out/${PACKAGE_NAME}.zip)
if(NOT EXISTS ${zip})
  message(FATAL_ERROR "no ${PACKAGE_NAME}.zip:\n${output}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${work}/unpacked
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the zip cannot be unpacked")
endif()

file(GLOB_RECURSE found RELATIVE ${work}/unpacked LIST_DIRECTORIES false ${work}/unpacked/*)
file(GLOB_RECURSE delivered RELATIVE ${SOURCE_DIR}/resources/deliver LIST_DIRECTORIES false
     ${SOURCE_DIR}/resources/deliver/*)
set(expected ${PACKAGE_NAME}/LockBeacon.exe)
foreach(file IN LISTS delivered)
  list(APPEND expected ${PACKAGE_NAME}/${file})
  file(SHA256 ${SOURCE_DIR}/resources/deliver/${file} want)
  file(SHA256 ${work}/unpacked/${PACKAGE_NAME}/${file} got)
  if(NOT want STREQUAL got)
    message(FATAL_ERROR "${file} in the zip differs from the delivered one")
  endif()
endforeach()
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "the zip holds\n  ${found}\ninstead of\n  ${expected}")
endif()
# The program in the zip is the shipped one (stripped, and signed when a certificate was given),
# byte for byte, and a Windows program.
file(SHA256 ${work}/unpacked/${PACKAGE_NAME}/LockBeacon.exe packed_hash)
file(SHA256 ${SHIPPED_EXE} shipped_hash)
if(NOT packed_hash STREQUAL shipped_hash)
  message(FATAL_ERROR "LockBeacon.exe in the zip is not the shipped ${SHIPPED_EXE}")
endif()
file(SIZE ${work}/unpacked/${PACKAGE_NAME}/LockBeacon.exe packed)
file(READ ${work}/unpacked/${PACKAGE_NAME}/LockBeacon.exe magic LIMIT 2 HEX)
if(NOT magic STREQUAL "4d5a")
  message(FATAL_ERROR "LockBeacon.exe in the zip is no Windows program")
endif()
list(LENGTH found count)
message(STATUS "${PACKAGE_NAME}.zip: ${count} files, LockBeacon.exe ${packed} bytes")
file(REMOVE_RECURSE ${work})
