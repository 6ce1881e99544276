# What the package and the AppStream data say about the project, set here
# and nowhere else.
#
# Home page: the project's own repository, as the checkout's remote "origin"
# names it when that is a web address (https://HOST/OWNER/NAME, or
# git@HOST:OWNER/NAME read as that), else none. K4812_HOMEPAGE_URL set on the
# command line overrides it. Without a home page the package's Homepage field
# and the AppStream home page and screenshot are left out rather than naming
# an address that does not exist.
#
# Screenshot: K4812_SCREENSHOT_FILE of the repository (the picture the README
# shows, written by `k4812-config --device=emulator --screenshot FILE`), at
# its address in the default branch of a GitHub or GitLab repository;
# K4812_SCREENSHOT_URL overrides it.
#
# Source date: the time that the changelog and the AppStream release carry,
# so that two builds of one commit give the same files: SOURCE_DATE_EPOCH
# when the environment sets it (scripts/package.sh sets it to the time of the
# last commit), else the time of the last commit, else the time of
# configuring. string(TIMESTAMP) honours it from here on.

set(K4812_SCREENSHOT_FILE docs/screenshot.png)

# The web address of a repository from a remote's URL; empty for a remote
# that is no web address (a folder, say).
function(k4812_homepage_of_remote remote result)
  set(home "")
  if(remote MATCHES "^https?://([^/@]+@)?([^/]+)/(.+)$")
    set(home "https://${CMAKE_MATCH_2}/${CMAKE_MATCH_3}")
  elseif(remote MATCHES "^(ssh://)?git@([^:/]+)[:/](.+)$")
    set(home "https://${CMAKE_MATCH_2}/${CMAKE_MATCH_3}")
  endif()
  string(REGEX REPLACE "/+$" "" home "${home}")
  string(REGEX REPLACE "\\.git$" "" home "${home}")
  set(${result} "${home}" PARENT_SCOPE)
endfunction()

# The address of FILE in the default branch of a GitHub or GitLab
# repository; empty for another host.
function(k4812_file_address home file result)
  set(address "")
  if(home MATCHES "^https://github\\.com/")
    set(address "${home}/raw/HEAD/${file}")
  elseif(home MATCHES "^https://gitlab\\.")
    set(address "${home}/-/raw/HEAD/${file}")
  endif()
  set(${result} "${address}" PARENT_SCOPE)
endfunction()

# cmake -P with K4812_METADATA_FUNCTIONS_ONLY: only the functions, for tests.
if(K4812_METADATA_FUNCTIONS_ONLY)
  return()
endif()

# Build folders configured before kept made-up addresses in their cache.
foreach(variable K4812_HOMEPAGE_URL K4812_SCREENSHOT_URL)
  get_property(k4812_help CACHE ${variable} PROPERTY HELPSTRING)
  if(k4812_help MATCHES "named in the AppStream data$")
    unset(${variable} CACHE)
  endif()
endforeach()

find_package(Git QUIET)
set(k4812_origin "")
set(k4812_commit_time "")
if(GIT_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/.git)
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${PROJECT_SOURCE_DIR} remote get-url origin
    OUTPUT_VARIABLE k4812_origin OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE k4812_result)
  if(NOT k4812_result EQUAL 0)
    set(k4812_origin "")
  endif()
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE k4812_commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()

if(NOT DEFINED K4812_HOMEPAGE_URL)
  k4812_homepage_of_remote("${k4812_origin}" K4812_HOMEPAGE_URL)
endif()
if(NOT DEFINED K4812_SCREENSHOT_URL)
  k4812_file_address("${K4812_HOMEPAGE_URL}" "${K4812_SCREENSHOT_FILE}" K4812_SCREENSHOT_URL)
endif()

# The AppStream lines that name them, empty when there is nothing to name.
set(K4812_APPSTREAM_URLS "")
if(K4812_HOMEPAGE_URL)
  set(K4812_APPSTREAM_URLS "\n  <url type=\"homepage\">${K4812_HOMEPAGE_URL}</url>")
endif()
set(K4812_APPSTREAM_SCREENSHOTS "")
if(K4812_SCREENSHOT_URL)
  string(CONCAT K4812_APPSTREAM_SCREENSHOTS
    "\n  <screenshots>\n    <screenshot type=\"default\">\n      <caption>The button assignment page</caption>"
    "\n      <image>${K4812_SCREENSHOT_URL}</image>\n    </screenshot>\n  </screenshots>")
endif()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(K4812_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
elseif(k4812_commit_time MATCHES "^[0-9]+$")
  set(K4812_SOURCE_DATE_EPOCH "${k4812_commit_time}")
  set(ENV{SOURCE_DATE_EPOCH} "${k4812_commit_time}")
else()
  string(TIMESTAMP K4812_SOURCE_DATE_EPOCH "%s" UTC)
endif()

# The CJK font the Chinese interface needs: WenQuanYi Micro Hei (1.6 MB to
# download, 5 MB installed) holds every character of both Chinese
# interfaces; Noto CJK (56 MB, 91 MB installed) is the alternative that
# satisfies the recommendation too (docs/packaging.md).
set(K4812_CJK_FONT_PACKAGES "fonts-wqy-microhei | fonts-noto-cjk")
