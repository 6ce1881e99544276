# Install-time step: copies the data files that the programs look for beside
# themselves from the build's program folder into the installed one. They are
# made by build steps (the language file, the skin, ...), some by later parts
# of the project, so they are picked up by name when installing, not listed
# when configuring. Expects K4812_BIN_DIR and K4812_PROGRAM_FOLDER (relative
# to the install prefix).
set(destination "${CMAKE_INSTALL_PREFIX}/${K4812_PROGRAM_FOLDER}")

# config.ini is not among them: the installed one is the commented default
# of resources/, not whatever a developer put into the build folder.
file(GLOB dataFiles LIST_DIRECTORIES false
  "${K4812_BIN_DIR}/ui.local"
  "${K4812_BIN_DIR}/PresetProfile*.pfd")
if(NOT EXISTS "${K4812_BIN_DIR}/ui.local")
  message(FATAL_ERROR "${K4812_BIN_DIR}/ui.local is missing: build before installing")
endif()
file(INSTALL ${dataFiles} DESTINATION "${destination}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# The skin, folder by folder as the programs ask for it.
if(IS_DIRECTORY "${K4812_BIN_DIR}/Images")
  file(INSTALL "${K4812_BIN_DIR}/Images" DESTINATION "${destination}"
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
    DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()
