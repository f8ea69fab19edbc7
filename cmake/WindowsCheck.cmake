# windows_syntax_check: the core (src/shell, database, portrait, import, app) compiled for Windows
# with Debian's MinGW-w64 cross compiler, syntax only, so that a call the core makes to POSIX or
# Linux alone fails the build in CI. The system-specific code lives in src/shell/platform.cpp,
# which has a Windows branch.
#
# Debian packages no Windows builds of SQLite, libpng, zlib, libjpeg, libdeflate, Cairo or xxHash,
# and the host's /usr/include cannot be put on the cross compiler's path whole: its C library
# headers would stand in for MinGW's own. So the check copies only those libraries' headers into a folder of their own
# (BUILD/windows-check/include) and adds that with -isystem. Their declarations are the same on
# Windows; only jconfig.h carries host settings, which a syntax check does not depend on.
find_program(LIKENTOR_MINGW_CXX x86_64-w64-mingw32-g++-posix)
if(NOT LIKENTOR_MINGW_CXX)
  return()
endif()

set(check_dir ${CMAKE_BINARY_DIR}/windows-check)
set(staged ${check_dir}/include)
set(headers sqlite3.h png.h pngconf.h pnglibconf.h zlib.h zconf.h jpeglib.h jmorecfg.h jerror.h
            jconfig.h libdeflate.h cairo.h cairo-version.h cairo-features.h cairo-deprecated.h
            xxhash.h xxh_x86dispatch.h)
foreach(header ${headers})
  string(MAKE_C_IDENTIFIER ${header} var)
  find_file(LIKENTOR_HEADER_${var} ${header} PATHS ${SQLite3_INCLUDE_DIRS} ${PNG_INCLUDE_DIRS}
            ${JPEG_INCLUDE_DIRS} ${XXHASH_INCLUDE_DIRS} /usr/include/${CMAKE_LIBRARY_ARCHITECTURE}
            /usr/include/cairo
            NO_CACHE REQUIRED)
  # The file itself, not a link to it (png.h is one).
  file(REAL_PATH ${LIKENTOR_HEADER_${var}} real)
  file(COPY ${real} DESTINATION ${staged})
endforeach()

# Files of the core that are POSIX-only for now, each with its reason; they are left out until
# they get a Windows branch (or their system calls move into src/shell/platform.cpp).
set(LIKENTOR_WINDOWS_CHECK_SKIP
    # flock(2) on the program folder's lock file; Windows would use LockFileEx.
    ${CMAKE_SOURCE_DIR}/src/shell/program_lock.cpp
    # open(2) with O_NONBLOCK and fstat(2) to refuse folders, pipes and devices before reading.
    ${CMAKE_SOURCE_DIR}/src/database/text_file.cpp
    # Hands path::c_str() to sqlite3_open_v2, which is wchar_t on Windows; SQLite wants the
    # path's UTF-8 bytes (u8string()) there.
    ${CMAKE_SOURCE_DIR}/src/database/connection.cpp)

set(stamps)
foreach(module shell database portrait import app)
  set(target likentor_${module})
  get_target_property(sources ${target} SOURCES)
  get_target_property(folder ${target} SOURCE_DIR)
  foreach(source ${sources})
    if(NOT source MATCHES "\\.cpp$")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${folder} OUTPUT_VARIABLE file)
    if(file IN_LIST LIKENTOR_WINDOWS_CHECK_SKIP)
      continue()
    endif()
    cmake_path(RELATIVE_PATH file BASE_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE relative)
    string(MAKE_C_IDENTIFIER ${relative} name)
    set(stamp ${check_dir}/${name}.stamp)
    add_custom_command(
      OUTPUT ${stamp}
      COMMAND ${LIKENTOR_MINGW_CXX} -std=c++20 -fsyntax-only -Wall -Wextra -Werror
              -I${CMAKE_SOURCE_DIR}/src -I${CMAKE_BINARY_DIR}/src/shell/include -isystem ${staged}
              -MD -MF ${stamp}.d -MT ${stamp} ${file}
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${file}
      DEPFILE ${stamp}.d
      COMMENT "Windows syntax check of ${relative}"
      VERBATIM)
    list(APPEND stamps ${stamp})
  endforeach()
endforeach()
add_custom_target(windows_syntax_check DEPENDS ${stamps})
