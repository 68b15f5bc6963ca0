# The Debian package as a lab installs it: made by CPack from this build, unpacked into a scratch
# root with dpkg -x, and the installed program run from there as a user whose home is scratch too.
# It answers --help (naming the installed manual), opens the demonstration core on the offscreen
# platform and leaves at once, and its settings file is made in the user's configuration folder
# from the shipped defaults, never beside the installed program.
#   cmake -DBINARY_DIR=<build> -DWORK_DIR=<scratch> -P PackageInstalls.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
set(root "${WORK_DIR}/root")
set(home "${WORK_DIR}/home")
file(MAKE_DIRECTORY "${home}")

execute_process(COMMAND cpack -G DEB -B "${WORK_DIR}/package" --config "${BINARY_DIR}/CPackConfig.cmake"
                RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(GLOB deb "${WORK_DIR}/package/stratalyser_*.deb")
if(failed OR NOT deb)
    message(FATAL_ERROR "cpack made no package:\n${out}")
endif()
execute_process(COMMAND dpkg-deb --field "${deb}" Depends OUTPUT_VARIABLE depends)
if(NOT depends MATCHES "libqt6widgets6" OR NOT depends MATCHES "qt6-image-formats-plugins")
    message(FATAL_ERROR "the package does not name the Qt packages it needs: ${depends}")
endif()
execute_process(COMMAND dpkg-deb --field "${deb}" Maintainer Homepage OUTPUT_VARIABLE fields)
if(fields MATCHES "example")
    message(FATAL_ERROR "the package names a placeholder: ${fields}")
endif()
execute_process(COMMAND dpkg -x "${deb}" "${root}" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "dpkg -x failed")
endif()
# The desktop entry claims the program's own working files only, never every CSV table or image.
file(READ "${root}/usr/share/applications/stratalyser.desktop" entry)
if(NOT entry MATCHES "MimeType=application/x-stratalyser-count;\n")
    message(FATAL_ERROR "the desktop entry claims other files:\n${entry}")
endif()
foreach(installed usr/bin/stratalyser usr/share/stratalyser/References/Stratalyser_References.csv
                  usr/share/applications/stratalyser.desktop usr/share/icons/hicolor/scalable/apps/stratalyser.svg
                  usr/share/doc/stratalyser/manual.md usr/share/doc/stratalyser/copyright
                  usr/share/mime/packages/stratalyser.xml)
    if(NOT EXISTS "${root}/${installed}")
        message(FATAL_ERROR "the package lacks ${installed}")
    endif()
endforeach()

set(user HOME=${home} XDG_CONFIG_HOME=${home}/.config XDG_DATA_HOME=${home}/.local/share
         XDG_RUNTIME_DIR=${home}/run QT_QPA_PLATFORM=offscreen)
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${user} "${root}/usr/bin/stratalyser" --help
                RESULT_VARIABLE failed OUTPUT_VARIABLE help)
if(failed OR NOT help MATCHES "The manual: ${root}/usr/share/doc/stratalyser/manual.md")
    message(FATAL_ERROR "--help of the installed program:\n${help}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${user} STRATALYSER_QUIT_WHEN_SHOWN=1 "${root}/usr/bin/stratalyser" --demo
                RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 120)
if(failed)
    message(FATAL_ERROR "the installed program did not open the demonstration core:\n${out}")
endif()
if(NOT EXISTS "${home}/.config/Stratalyser/Stratalyser_References.csv")
    message(FATAL_ERROR "no settings file in the user's configuration folder")
endif()
if(EXISTS "${root}/usr/bin/References")
    message(FATAL_ERROR "settings were written beside the installed program")
endif()
if(NOT EXISTS "${home}/.local/share/Stratalyser/demo/demo.csv")
    message(FATAL_ERROR "the demonstration core was not written to the user's data folder")
endif()
