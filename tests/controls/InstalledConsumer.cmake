cmake_minimum_required(VERSION 3.25)
# Installs the two control libraries into a fresh prefix, then configures, builds and runs
# a small program against the installed files only.
# Variables: BUILD_DIR (the project's build), SOURCE_DIR (the consumer), WORK_DIR, CXX,
# CXX_FLAGS (compile and link flags, e.g. the sanitizers the libraries were built with).
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
foreach(component Chromell Pushwell)
    execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --component ${component}
                            --prefix ${prefix}
                    RESULT_VARIABLE rc OUTPUT_QUIET)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "installing ${component} failed")
    endif()
endforeach()

# No header may lie in both libraries' include folders: a compiler that includes each
# file once by its path would then see one class defined twice.
file(GLOB chromell_headers RELATIVE ${prefix}/include/chromell ${prefix}/include/chromell/*)
file(GLOB pushwell_headers RELATIVE ${prefix}/include/pushwell ${prefix}/include/pushwell/*)
foreach(header IN LISTS chromell_headers)
    if(header IN_LIST pushwell_headers)
        message(FATAL_ERROR "${header} is installed by both libraries")
    endif()
endforeach()

set(compiler)
if(CXX)
    set(compiler -DCMAKE_CXX_COMPILER=${CXX})
endif()
if(CXX_FLAGS)
    list(APPEND compiler -DCMAKE_CXX_FLAGS=${CXX_FLAGS} -DCMAKE_EXE_LINKER_FLAGS=${CXX_FLAGS})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G Ninja
                        -DCMAKE_PREFIX_PATH=${prefix} ${compiler}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "configuring the consumer failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "building the consumer failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
                        ${WORK_DIR}/build/consumer
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the consumer failed: ${rc}")
endif()
