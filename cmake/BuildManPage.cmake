# Builds one manual page from its POD text (docs/man/NAME.pod) into a
# compressed roff page. Run with cmake -P and:
#   POD      the POD source
#   OUTPUT   the page to write (NAME.1.gz)
#   NAME     the page's name
#   VERSION  the program's version
#   DATE     the date the page carries (YYYY-MM-DD), so that two builds agree
#   CTL      optional: k4812ctl, whose verbs and their usage fill @VERBS@
cmake_minimum_required(VERSION 3.25)

file(READ "${POD}" pod)

if(CTL)
  execute_process(COMMAND "${CTL}" --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${CTL} --help failed")
  endif()
  string(REGEX REPLACE ".*\nVerbs:\n" "" verbList "${help}")
  string(REGEX REPLACE "\n\n.*" "" verbList "${verbList}")
  string(REPLACE "\n" ";" verbLines "${verbList}")
  set(verbs "=over\n\n")
  foreach(line IN LISTS verbLines)
    string(REGEX MATCH "^  ([a-z][a-z0-9-]*)  +(.*)$" matched "${line}")
    if(NOT matched)
      continue()
    endif()
    set(verb "${CMAKE_MATCH_1}")
    set(summary "${CMAKE_MATCH_2}")
    execute_process(COMMAND "${CTL}" ${verb} --help OUTPUT_VARIABLE usage RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "${CTL} ${verb} --help failed")
    endif()
    # Shown as written: a verbatim paragraph, every line indented.
    string(REGEX REPLACE "^Usage: " "" usage "${usage}")
    string(REPLACE "\n       k4812ctl " "\nk4812ctl " usage "${usage}")
    string(REGEX REPLACE "\n+$" "" usage "${usage}")
    string(REPLACE "\n" "\n    " usage "    ${usage}")
    string(REGEX REPLACE "\n    \n" "\n\n" usage "${usage}")
    string(APPEND verbs "=item B<${verb}>\n\n${summary}.\n\n${usage}\n\n")
  endforeach()
  string(APPEND verbs "=back")
  string(REPLACE "@VERBS@" "${verbs}" pod "${pod}")
endif()

get_filename_component(outDir "${OUTPUT}" DIRECTORY)
set(filledPod "${outDir}/${NAME}.pod")
set(roff "${outDir}/${NAME}.1")
file(WRITE "${filledPod}" "${pod}")
execute_process(
  COMMAND pod2man --section=1 --name=${NAME} --center=K4812 "--release=k4812 ${VERSION}" "--date=${DATE}" --errors=die
          "${filledPod}" "${roff}"
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pod2man failed on ${POD}")
endif()
execute_process(COMMAND gzip -9nf "${roff}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${roff}")
endif()
