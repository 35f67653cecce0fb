# Every target links sortilo_flags: the warnings and the sanitizer or fuzzing options live here only.
add_library(sortilo_flags INTERFACE)
target_compile_options(sortilo_flags INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(sortilo_flags INTERFACE QT_NO_KEYWORDS)
target_include_directories(sortilo_flags INTERFACE ${PROJECT_SOURCE_DIR}/src)

if(SORTILO_SANITIZE)
    target_compile_options(sortilo_flags INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(sortilo_flags INTERFACE -fsanitize=address,undefined)
endif()

if(SORTILO_FUZZ)
    # Instrument every library for coverage; only the fuzz targets link libFuzzer's main.
    target_compile_options(sortilo_flags INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
    target_link_options(sortilo_flags INTERFACE -fsanitize=address,undefined)
endif()

# sortilo_add_library(NAME LIBS dep ...): one static library from the .cpp files of the current
# folder (not its sub-folders, which hold libraries of their own).
function(sortilo_add_library name)
    cmake_parse_arguments(L "" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(sources)
        add_library(${name} STATIC ${sources} ${headers})
        target_link_libraries(${name} PUBLIC ${L_LIBS} sortilo_flags)
    else()
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE ${L_LIBS} sortilo_flags)
    endif()
endfunction()
