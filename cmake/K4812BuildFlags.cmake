# The compiler and linker flags a Debian package is built with, taken from
# dpkg-buildflags with hardening=+all: a stack protector, fortified libc
# calls, format checks, relocations made read-only and bound at start
# (-z relro -z now; PIE is the compiler's default), -Wdate-time. The normal
# build uses them too: they cost nothing measurable, and the package build
# (scripts/package.sh) then shares the compiler cache with it. Left out:
# -g and -O2, which the build type decides, and -D_FORTIFY_SOURCE where the
# build type does not optimise (glibc refuses it there). Without
# dpkg-buildflags (not a Debian system) the same flags are set by name.
#
# Paths below the source and the build folder are written as "." into debug
# information and __FILE__, so that builds in different folders make the
# same files (and share the compiler cache). Later maps win in GCC, so the
# build folder's comes last.
#
# K4812_HARDENING=OFF (the sanitizer build) leaves all of it out.

if(NOT K4812_HARDENING)
  return()
endif()

set(k4812_flags "")
set(k4812_link_flags "")
find_program(K4812_DPKG_BUILDFLAGS dpkg-buildflags)
if(K4812_DPKG_BUILDFLAGS)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${K4812_DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE
      RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "dpkg-buildflags --get ${kind} failed")
    endif()
    separate_arguments(value UNIX_COMMAND "${value}")
    if(kind STREQUAL "LDFLAGS")
      list(APPEND k4812_link_flags ${value})
    else()
      list(APPEND k4812_flags ${value})
    endif()
  endforeach()
else()
  set(k4812_flags -Wdate-time -D_FORTIFY_SOURCE=2 -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
      -fstack-protector-strong -Wformat -Werror=format-security)
  set(k4812_link_flags -Wl,-z,relro -Wl,-z,now)
endif()

set(k4812_compile_options "")
foreach(flag IN LISTS k4812_flags)
  if(flag MATCHES "^-(g|O[0-9s]?)$")
    continue()
  elseif(flag MATCHES "^-D_FORTIFY_SOURCE")
    list(APPEND k4812_compile_options "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:${flag}>")
  else()
    list(APPEND k4812_compile_options "${flag}")
  endif()
endforeach()
list(APPEND k4812_compile_options
  -ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)
add_compile_options(${k4812_compile_options})
add_link_options(${k4812_link_flags})
message(STATUS "Hardening flags: ${k4812_flags} ${k4812_link_flags}")
