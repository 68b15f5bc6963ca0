# The run command (configure, build, start) must keep the settings the program saved beside itself.
# Configures the project in a scratch folder as the run command does, lets the build put the
# default settings there, changes a row as the program would at exit, configures and builds again,
# and checks the row is still there; a deleted file comes back as the default.
#   cmake -DSOURCE_DIR=<project> -DWORK_DIR=<scratch> -P SettingsSurviveRebuild.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
set(settings "${WORK_DIR}/bin/References/Stratalyser_References.csv")

function(configure_and_build)
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR} -G Ninja
                            -DSTRATALYSER_TESTS=OFF -DSTRATALYSER_BENCH=OFF
                    RESULT_VARIABLE failed OUTPUT_QUIET)
    if(failed)
        message(FATAL_ERROR "configuring failed")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR} --target stratalyser_default_settings
                    RESULT_VARIABLE failed OUTPUT_QUIET)
    if(failed)
        message(FATAL_ERROR "building the settings target failed")
    endif()
endfunction()

configure_and_build()
file(READ "${settings}" shipped)
# The program saved a window place at exit: frmMain.Top (row 5) holds 4321 now.
string(REPLACE "\"frmMain\",\"Top\",9999,9999" "\"frmMain\",\"Top\",9999,4321" saved "${shipped}")
if(saved STREQUAL shipped)
    message(FATAL_ERROR "could not change row 5 of the shipped settings")
endif()
file(WRITE "${settings}" "${saved}")

configure_and_build()
file(READ "${settings}" after)
if(NOT after STREQUAL saved)
    message(FATAL_ERROR "a rebuild replaced the saved settings with the defaults")
endif()

file(REMOVE "${settings}")
configure_and_build()
file(READ "${settings}" restored)
if(NOT restored STREQUAL shipped)
    message(FATAL_ERROR "a missing settings file was not put back as the default")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
message(STATUS "saved settings survive a rebuild")
