# The installed layout: one program folder with every program and the files
# they look for beside themselves, links to the programs in bin, the udev rule
# and its probe where udev looks for them, and the desktop integration (menu
# entry, icon, AppStream data, manual pages, shell completion).
#
# Included from the top CMakeLists.txt after every target is defined, so that
# programs added later (the window, the keyboard hook) are installed as soon
# as their targets exist.

# udev reads rules and runs helpers only below /usr/lib/udev (or /etc, /run),
# so the installed layout is meant for the /usr prefix; CMake's default
# /usr/local is replaced (also in build folders configured before).
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
  set(CMAKE_INSTALL_PREFIX /usr CACHE PATH "Install prefix" FORCE)
endif()

include(GNUInstallDirs)
set(K4812_PROGRAM_FOLDER lib/k4812)
# K4812_APP_ID (the desktop entry's name) is set in the top CMakeLists.txt.
set(K4812_SHARE_DIR ${CMAKE_BINARY_DIR}/share)
include(${PROJECT_SOURCE_DIR}/cmake/K4812Metadata.cmake)

# Programs, the keyboard hook and the KDE module, each when its target exists.
foreach(program k4812ctl k4812-config REvo2)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${K4812_PROGRAM_FOLDER})
  endif()
endforeach()
foreach(module uiHook k4812-kwin)
  if(TARGET ${module})
    install(TARGETS ${module} LIBRARY DESTINATION ${K4812_PROGRAM_FOLDER})
  endif()
endforeach()
install(CODE "set(K4812_BIN_DIR \"${K4812_BIN_DIR}\")
set(K4812_PROGRAM_FOLDER \"${K4812_PROGRAM_FOLDER}\")
include(\"${PROJECT_SOURCE_DIR}/cmake/InstallProgramData.cmake\")")

# The links in bin are relative, so they hold in a staging folder too. The
# programs resolve them (applicationDirPath) and find their files.
foreach(program k4812ctl k4812-config)
  if(TARGET ${program})
    file(MAKE_DIRECTORY ${K4812_SHARE_DIR}/bin)
    file(CREATE_LINK ../${K4812_PROGRAM_FOLDER}/${program} ${K4812_SHARE_DIR}/bin/${program} SYMBOLIC)
    install(FILES ${K4812_SHARE_DIR}/bin/${program} DESTINATION bin)
  endif()
endforeach()

# udev
install(FILES ${PROJECT_SOURCE_DIR}/resources/70-k4812.rules DESTINATION lib/udev/rules.d)
install(TARGETS k4812-udev-probe RUNTIME DESTINATION lib/udev)
# The probe honours the include list of the installed config.ini, as the programs do.
target_compile_definitions(k4812-udev-probe PRIVATE
  K4812_CONFIG_INI="${CMAKE_INSTALL_PREFIX}/${K4812_PROGRAM_FOLDER}/config.ini")

# config.ini: a commented file of defaults. An administrator's edits belong
# in /etc and must survive upgrades, so the file is a conffile there and the
# program folder, where the programs and the probe look, holds a link to it.
install(FILES ${PROJECT_SOURCE_DIR}/resources/config.ini DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/k4812)
file(MAKE_DIRECTORY ${K4812_SHARE_DIR})
file(CREATE_LINK ${CMAKE_INSTALL_FULL_SYSCONFDIR}/k4812/config.ini ${K4812_SHARE_DIR}/config.ini SYMBOLIC)
install(FILES ${K4812_SHARE_DIR}/config.ini DESTINATION ${K4812_PROGRAM_FOLDER})

# Icon: the scalable drawing and PNG renderings of it.
set(K4812_ICON_SVG ${PROJECT_SOURCE_DIR}/resources/icons/k4812-config.svg)
install(FILES ${K4812_ICON_SVG} DESTINATION share/icons/hicolor/scalable/apps)
find_program(K4812_RSVG_CONVERT rsvg-convert)
if(K4812_RSVG_CONVERT)
  set(icons)
  foreach(size 16 24 32 48 64 128 256)
    set(png ${K4812_SHARE_DIR}/icons/${size}x${size}/k4812-config.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${K4812_SHARE_DIR}/icons/${size}x${size}
      COMMAND ${K4812_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${K4812_ICON_SVG}
      DEPENDS ${K4812_ICON_SVG}
      VERBATIM)
    list(APPEND icons ${png})
    install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(k4812_icons ALL DEPENDS ${icons})
else()
  message(WARNING "rsvg-convert not found (Debian: librsvg2-bin): only the scalable icon is installed")
endif()

# Menu entry and AppStream data, for the window once it is built. The
# release date is the day of K4812_SOURCE_DATE_EPOCH (K4812Metadata.cmake).
string(TIMESTAMP K4812_RELEASE_DATE "%Y-%m-%d" UTC)
configure_file(${PROJECT_SOURCE_DIR}/resources/k4812-config.metainfo.xml.in
  ${K4812_SHARE_DIR}/${K4812_APP_ID}.metainfo.xml @ONLY)
if(TARGET k4812-config)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/k4812-config.desktop
    DESTINATION share/applications RENAME ${K4812_APP_ID}.desktop)
  install(FILES ${K4812_SHARE_DIR}/${K4812_APP_ID}.metainfo.xml DESTINATION share/metainfo)
endif()

# Manual pages from their POD text; k4812ctl's lists its verbs as it prints them.
set(K4812_MAN_PAGES)
foreach(page k4812ctl k4812-config)
  set(out ${K4812_SHARE_DIR}/man/${page}.1.gz)
  set(pod ${PROJECT_SOURCE_DIR}/docs/man/${page}.pod)
  set(ctlArgs)
  set(ctlDepends)
  if(page STREQUAL "k4812ctl")
    set(ctlArgs -DCTL=$<TARGET_FILE:k4812ctl>)
    set(ctlDepends k4812ctl)
  endif()
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${K4812_SHARE_DIR}/man
    COMMAND ${CMAKE_COMMAND} -DPOD=${pod} -DOUTPUT=${out} -DNAME=${page} -DVERSION=${PROJECT_VERSION}
            -DDATE=${K4812_RELEASE_DATE} ${ctlArgs}
            -P ${PROJECT_SOURCE_DIR}/cmake/BuildManPage.cmake
    DEPENDS ${pod} ${PROJECT_SOURCE_DIR}/cmake/BuildManPage.cmake ${ctlDepends}
    VERBATIM)
  list(APPEND K4812_MAN_PAGES ${out})
  if(TARGET ${page})
    install(FILES ${out} DESTINATION share/man/man1)
  endif()
endforeach()

# Bash completion, written by k4812ctl from its verb table.
set(K4812_COMPLETION ${K4812_SHARE_DIR}/bash-completion/k4812ctl)
add_custom_command(OUTPUT ${K4812_COMPLETION}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${K4812_SHARE_DIR}/bash-completion
  COMMAND ${CMAKE_COMMAND} "-DCOMMAND=$<TARGET_FILE:k4812ctl>;completion;bash" -DOUTPUT=${K4812_COMPLETION}
          -P ${PROJECT_SOURCE_DIR}/cmake/WriteCommandOutput.cmake
  DEPENDS k4812ctl
  VERBATIM)
add_custom_target(k4812_desktop_files ALL DEPENDS ${K4812_MAN_PAGES} ${K4812_COMPLETION})
install(FILES ${K4812_COMPLETION} DESTINATION share/bash-completion/completions)

# What a Debian package needs beside the programs.
set(K4812_CHANGELOG ${K4812_SHARE_DIR}/doc/changelog.gz)
set(K4812_PACKAGE_MAINTAINER "K4812 developers <k4812@users.noreply.github.com>" CACHE STRING
    "Maintainer field of the Debian package")
string(TIMESTAMP K4812_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${K4812_SHARE_DIR}/doc/changelog @ONLY)
add_custom_command(OUTPUT ${K4812_CHANGELOG}
  COMMAND gzip -9nkf ${K4812_SHARE_DIR}/doc/changelog
  DEPENDS ${K4812_SHARE_DIR}/doc/changelog
  VERBATIM)
add_custom_target(k4812_changelog ALL DEPENDS ${K4812_CHANGELOG})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${K4812_CHANGELOG} DESTINATION share/doc/k4812)
