# Shared settings of every Lock Beacon target.

function(lockbeacon_target_defaults target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                           -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Wunused
                           -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough
                           # designated initialisers leave the other members zero on purpose
                           -Wno-missing-field-initializers
                           # GCC 12 reports "literal" + std::string as an overlapping copy
                           # at -O2 (GCC bug 105651, fixed in 13)
                           $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>)
  endif()
  if(WIN32)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                               _WIN32_WINNT=0x0A00 WINVER=0x0A00)
    if(MINGW)
      # Every exe imports only system DLLs: libstdc++, libgcc and winpthread are linked in.
      target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
  endif()
endfunction()

# Libraries cross-built by tools/setup.sh (or installed natively on Windows).
function(lockbeacon_find_windows_deps)
  if(TARGET lockbeacon::png)
    return()
  endif()
  find_package(ZLIB REQUIRED)
  find_library(LOCKBEACON_PNG_LIBRARY NAMES png16 png libpng16_static libpng16 REQUIRED)
  find_path(LOCKBEACON_PNG_INCLUDE png.h PATH_SUFFIXES libpng16 REQUIRED)
  add_library(lockbeacon::png INTERFACE IMPORTED GLOBAL)
  target_link_libraries(lockbeacon::png INTERFACE ${LOCKBEACON_PNG_LIBRARY} ZLIB::ZLIB)
  target_include_directories(lockbeacon::png INTERFACE ${LOCKBEACON_PNG_INCLUDE})

  find_library(LOCKBEACON_PCRE2_LIBRARY NAMES pcre2-8-static pcre2-8 REQUIRED)
  find_path(LOCKBEACON_PCRE2_INCLUDE pcre2.h REQUIRED)
  add_library(lockbeacon::pcre2 INTERFACE IMPORTED GLOBAL)
  target_link_libraries(lockbeacon::pcre2 INTERFACE ${LOCKBEACON_PCRE2_LIBRARY})
  target_include_directories(lockbeacon::pcre2 INTERFACE ${LOCKBEACON_PCRE2_INCLUDE})
  target_compile_definitions(lockbeacon::pcre2 INTERFACE PCRE2_STATIC PCRE2_CODE_UNIT_WIDTH=8)
endfunction()

# PCRE2 (8-bit) of the system, for native builds (libpcre2-dev on Debian).
function(lockbeacon_find_native_pcre2)
  if(TARGET lockbeacon::pcre2)
    return()
  endif()
  find_library(LOCKBEACON_PCRE2_LIBRARY NAMES pcre2-8 REQUIRED)
  find_path(LOCKBEACON_PCRE2_INCLUDE pcre2.h REQUIRED)
  add_library(lockbeacon::pcre2 INTERFACE IMPORTED GLOBAL)
  target_link_libraries(lockbeacon::pcre2 INTERFACE ${LOCKBEACON_PCRE2_LIBRARY})
  target_include_directories(lockbeacon::pcre2 INTERFACE ${LOCKBEACON_PCRE2_INCLUDE})
  target_compile_definitions(lockbeacon::pcre2 INTERFACE PCRE2_CODE_UNIT_WIDTH=8)
endfunction()

# The files delivered beside the exe (languages, sounds, licence) are copied next to it after
# each build, so that the build folder runs like an installed copy.
function(lockbeacon_deliver_beside target)
  set(deliver_dir ${PROJECT_SOURCE_DIR}/resources/deliver)
  if(EXISTS ${deliver_dir})
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${deliver_dir} $<TARGET_FILE_DIR:${target}>
      COMMENT "Copying the files delivered beside ${target}")
  endif()
endfunction()
