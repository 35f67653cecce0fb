# sortilo_add_test(NAME SOURCES a.cpp ... LIBS lib ...)
# One Qt Test executable, registered with CTest and run headless.
# The project's own copy of real workbooks with their expected readings: nothing outside the
# checkout is read.
set(SORTILO_CORPUS_DIR "${PROJECT_SOURCE_DIR}/tests/data/workbooks")

function(sortilo_add_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test sortilo_flags)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT
        "QT_QPA_PLATFORM=offscreen;SORTILO_CORPUS_DIR=${SORTILO_CORPUS_DIR};SORTILO_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;ASAN_OPTIONS=detect_leaks=0")
endfunction()

# Adds every sub-folder of the current folder that has a CMakeLists.txt.
function(sortilo_add_subdirectories)
    file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT children)
    foreach(child ${children})
        if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()
