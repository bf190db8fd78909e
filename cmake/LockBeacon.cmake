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
      # Marked as Windows expects of a program today: relocatable with 64-bit addresses (ASLR),
      # data never executable (DEP), and aware of Remote Desktop sessions, so that Windows
      # gives it the session's own fonts and folders instead of compatibility shims.
      # Sections start on page boundaries in the file too (--file-alignment, 512 bytes by
      # default): Windows maps an image as it is either way, but Wine maps a section straight
      # from the file only when it is page-aligned there and otherwise reads the whole image
      # into private memory (1.8 MB of the program's, `make measure-memory`).
      target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++
                          -Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat -Wl,--tsaware
                          -Wl,--file-alignment=4096)
    endif()
  endif()
endfunction()

# zlib, linked into the exe: MinGW ships both libz.a and the import library libz.dll.a of a
# zlib1.dll, which Windows does not have (Wine does, so a dynamic zlib would pass every test
# here and fail on every Windows PC). ZLIB_USE_STATIC_LIBS makes find_package take libz.a.
macro(lockbeacon_find_static_zlib)
  if(WIN32)
    set(ZLIB_USE_STATIC_LIBS ON)
    # A build folder configured before kept the import library in its cache.
    if(ZLIB_LIBRARY_RELEASE MATCHES "\\.dll\\.a$")
      unset(ZLIB_LIBRARY_RELEASE CACHE)
      unset(ZLIB_LIBRARY CACHE)
    endif()
  endif()
  find_package(ZLIB REQUIRED)
endmacro()

# Windows DLLs that are not KnownDLLs would be looked for in the exe's folder first if the exe
# imported them; winhttp, which the web client calls in many places, is delay-loaded instead:
# its functions are bound at the first call, by a load from System32 (main_win.cpp).
# lockbeacon::winhttp is the delay-load import library that dlltool makes from the list of its
# functions.
function(lockbeacon_add_delay_loaded_winhttp)
  if(TARGET lockbeacon::winhttp)
    return()
  endif()
  add_library(lockbeacon::winhttp INTERFACE IMPORTED GLOBAL)
  if(MSVC)
    target_link_libraries(lockbeacon::winhttp INTERFACE winhttp delayimp)
    target_link_options(lockbeacon::winhttp INTERFACE /DELAYLOAD:winhttp.dll)
    return()
  endif()
  find_program(LOCKBEACON_DLLTOOL NAMES x86_64-w64-mingw32-dlltool dlltool REQUIRED)
  set(def ${PROJECT_SOURCE_DIR}/cmake/delay/winhttp.def)
  set(lib ${PROJECT_BINARY_DIR}/delay/libwinhttp_delay.a)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/delay
    COMMAND ${LOCKBEACON_DLLTOOL} --input-def ${def} --dllname winhttp.dll
            --output-delaylib ${lib}
    DEPENDS ${def} COMMENT "Making the delay-load import library of winhttp.dll" VERBATIM)
  add_custom_target(lockbeacon_winhttp_delaylib DEPENDS ${lib})
  add_dependencies(lockbeacon::winhttp lockbeacon_winhttp_delaylib)
  # The delay-load helper (__delayLoadHelper2, in MinGW's libmingwex) and its hooks.
  target_link_libraries(lockbeacon::winhttp INTERFACE ${lib} delayimp)
endfunction()

# Libraries cross-built by tools/setup.sh (or installed natively on Windows).
function(lockbeacon_find_windows_deps)
  if(TARGET lockbeacon::png)
    return()
  endif()
  lockbeacon_find_static_zlib()
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
