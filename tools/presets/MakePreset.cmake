# Makes one preset profile file from its text source by running
# "k4812ctl set LINE" for every line on a profile with the factory settings,
# then "k4812ctl profile export". The tool runs in a home folder of its own,
# against the emulated mouse, so the build never touches the user's profiles
# or a real mouse.
#
#   cmake -DK4812CTL=... -DSOURCE=PresetProfileN.txt -DOUTPUT=PresetProfileN.pfd -DWORK=DIR -P MakePreset.cmake

foreach(var K4812CTL SOURCE OUTPUT WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "MakePreset.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/home" "${WORK}/run" "${WORK}/program")
file(CHMOD "${WORK}/run" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(ENV{HOME} "${WORK}/home")
set(ENV{XDG_CONFIG_HOME} "${WORK}/home/.config")
set(ENV{XDG_DATA_HOME} "${WORK}/home/.local/share")
set(ENV{XDG_CACHE_HOME} "${WORK}/home/.cache")
set(ENV{XDG_RUNTIME_DIR} "${WORK}/run")
set(ENV{K4812_PROGRAM_DIR} "${WORK}/program")
set(ENV{K4812_DEVICE} "emulator:${WORK}/mouse.state")
unset(ENV{K4812_EMULATOR_FAULTS})
set(ENV{LC_ALL} "C.UTF-8")

file(STRINGS "${SOURCE}" lines ENCODING UTF-8)
set(number 0)
foreach(line IN LISTS lines)
  math(EXPR number "${number} + 1")
  string(STRIP "${line}" line)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  separate_arguments(words UNIX_COMMAND "${line}")
  execute_process(COMMAND "${K4812CTL}" set ${words}
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE error)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${SOURCE}:${number}: \"set ${line}\" failed: ${error}")
  endif()
endforeach()

# Written beside the target and moved into place, so a failed run never leaves half a file.
execute_process(COMMAND "${K4812CTL}" profile export 1 "${OUTPUT}.part"
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE error)
if(NOT result EQUAL 0)
  file(REMOVE "${OUTPUT}.part")
  message(FATAL_ERROR "${SOURCE}: the profile could not be exported: ${error}")
endif()
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
file(REMOVE_RECURSE "${WORK}")
