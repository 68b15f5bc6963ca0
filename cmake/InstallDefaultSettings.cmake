# cmake -DSOURCE=<shipped settings> -DDESTINATION=<beside the program> -P InstallDefaultSettings.cmake
#
# Puts the shipped settings file beside the program only when there is none: the file there holds
# the user's window places and level colours, written back at every exit, and a rebuild must never
# replace them with the defaults.
if(NOT EXISTS "${DESTINATION}")
    get_filename_component(folder "${DESTINATION}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(COPY_FILE "${SOURCE}" "${DESTINATION}")
    message(STATUS "Installed the default settings: ${DESTINATION}")
endif()
