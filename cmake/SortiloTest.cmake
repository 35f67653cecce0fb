# sortilo_add_test(NAME SOURCES a.cpp ... LIBS lib ... [TIMEOUT s] [SHARDS n])
# One Qt Test executable, registered with CTest and run headless. With SHARDS n it is registered
# n times (NAME_1of2 ...), each run told by SORTILO_TEST_SHARD which share of its rows to take, so
# a long test runs on several cores.
# The project's own copy of real workbooks with their expected readings: nothing outside the
# checkout is read.
set(SORTILO_CORPUS_DIR "${PROJECT_SOURCE_DIR}/tests/data/workbooks")

function(sortilo_add_test name)
    cmake_parse_arguments(T "" "TIMEOUT;SHARDS" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test sortilo_flags)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    sortilo_links_widgets(widgets ${T_LIBS})
    sortilo_precompile(${name} ${widgets} ON)
    # A test includes its own .moc, so moc's file for the target is empty: loading the
    # precompiled header for it would be its whole cost.
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/mocs_compilation.cpp
        PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set(environment QT_QPA_PLATFORM=offscreen SORTILO_CORPUS_DIR=${SORTILO_CORPUS_DIR}
        SORTILO_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data ASAN_OPTIONS=detect_leaks=0
        SORTILO_VERIFY_DRAW=${PROJECT_SOURCE_DIR}/tools/verify-draw)
    if(NOT T_SHARDS)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${environment}")
        return()
    endif()
    foreach(shard RANGE 1 ${T_SHARDS})
        set(test ${name}_${shard}of${T_SHARDS})
        add_test(NAME ${test} COMMAND ${name})
        # Long tests start first, so the short ones fill the other cores beside them.
        set_tests_properties(${test} PROPERTIES TIMEOUT ${T_TIMEOUT} COST 1000 ENVIRONMENT
            "${environment};SORTILO_TEST_SHARD=${shard}/${T_SHARDS}")
    endforeach()
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
