# Initial cache for the checking build (scripts/test-sanitized.sh): every
# target built with AddressSanitizer and UndefinedBehaviorSanitizer, and any
# finding stops the program instead of being reported and passed over.
set(K4812_SANITIZE_FLAGS "-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer")
set(CMAKE_CXX_FLAGS "${K4812_SANITIZE_FLAGS}" CACHE STRING "" FORCE)
set(CMAKE_EXE_LINKER_FLAGS "${K4812_SANITIZE_FLAGS}" CACHE STRING "" FORCE)
set(CMAKE_SHARED_LINKER_FLAGS "${K4812_SANITIZE_FLAGS}" CACHE STRING "" FORCE)
# The benchmarks are not run by the tests, and their timings mean nothing here.
set(K4812_BUILD_BENCHMARKS OFF CACHE BOOL "" FORCE)
# The sanitizers check the calls that fortified glibc functions would check,
# and some of their interceptors do not see fortified calls.
set(K4812_HARDENING OFF CACHE BOOL "" FORCE)
