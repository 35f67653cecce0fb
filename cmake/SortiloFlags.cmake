# Every target links sortilo_flags: the warnings and the sanitizer or fuzzing options live here only.
add_library(sortilo_flags INTERFACE)
target_compile_options(sortilo_flags INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
    -Wold-style-cast)

# CI turns warnings into errors; a user's build with a newer compiler is never stopped by a new one.
option(SORTILO_WERROR "Treat compiler warnings as errors" OFF)
if(SORTILO_WERROR)
    target_compile_options(sortilo_flags INTERFACE -Werror)
endif()
target_compile_definitions(sortilo_flags INTERFACE QT_NO_KEYWORDS)

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

# Precompiled headers. Parsing Qt's headers is most of the compile time of every file, and our
# files are small, so each target reuses one precompiled header made by a donor target of the
# same kind (same Qt modules, same definitions) instead of making its own.
set(SORTILO_PCH_CORE <QString> <QByteArray> <QFile> <QDir> <QFileInfo> <QObject> <QStringList>
    <QHash> <vector> <memory> <algorithm> <map> <optional> <functional> <cstdint>)
set(SORTILO_PCH_WIDGETS <QWidget> <QLabel> <QPushButton> <QListWidget> <QLineEdit>
    <QRadioButton> <QGroupBox>)
set(SORTILO_PCH_TEST <QTest> <QTemporaryDir> <QSignalSpy>)

# True when `libs` bring Qt Widgets along, directly or through our own libraries.
function(sortilo_links_widgets out)
    set(result OFF)
    foreach(lib ${ARGN})
        if(lib STREQUAL "Qt6::Widgets")
            set(result ON)
        elseif(TARGET ${lib} AND lib MATCHES "^sortilo_")
            get_target_property(deps ${lib} INTERFACE_LINK_LIBRARIES)
            if(deps)
                sortilo_links_widgets(inner ${deps})
                if(inner)
                    set(result ON)
                endif()
            endif()
        endif()
        if(result)
            break()
        endif()
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()

# sortilo_precompile(TARGET WIDGETS TEST): the target reuses the precompiled header of its kind;
# the donor is made on first use.
function(sortilo_precompile target widgets test)
    if(SORTILO_FUZZ)
        return()
    endif()
    set(headers ${SORTILO_PCH_CORE})
    set(libs Qt6::Core)
    set(kind core)
    if(widgets)
        list(APPEND headers ${SORTILO_PCH_WIDGETS})
        set(libs Qt6::Widgets)
        set(kind widgets)
    endif()
    if(test)
        list(APPEND headers ${SORTILO_PCH_TEST})
        list(APPEND libs Qt6::Test)
        set(kind test_${kind})
        # Qt Test defines these per folder; no test of ours uses them, and one precompiled
        # header serves every test only when they are the same everywhere.
        target_compile_options(${target} PRIVATE -UQT_TESTCASE_BUILDDIR -UQT_TESTCASE_SOURCEDIR)
    endif()
    set(donor sortilo_pch_${kind})
    if(NOT TARGET ${donor})
        set(stub ${CMAKE_BINARY_DIR}/pch/${donor}.cpp)
        if(NOT EXISTS ${stub})
            file(WRITE ${stub} "// Only here to carry the precompiled header.\n")
        endif()
        add_library(${donor} STATIC ${stub})
        target_link_libraries(${donor} PRIVATE ${libs} sortilo_flags)
        target_precompile_headers(${donor} PRIVATE ${headers})
        if(test)
            target_compile_options(${donor} PRIVATE -UQT_TESTCASE_BUILDDIR -UQT_TESTCASE_SOURCEDIR)
        endif()
        set_target_properties(${donor} PROPERTIES AUTOMOC OFF POSITION_INDEPENDENT_CODE ON)
    endif()
    target_precompile_headers(${target} REUSE_FROM ${donor})
endfunction()

# sortilo_expose_headers(TARGET SCOPE header ...): the target's include folder, holding links to
# exactly these headers under the path they are included by (src/draw/engine/DrawState.h as
# "draw/engine/DrawState.h"). A library sees the headers of what it links and nothing else, so an
# include of a higher layer, or of a library not linked, does not compile.
function(sortilo_expose_headers target scope)
    set(root ${CMAKE_BINARY_DIR}/include/${target})
    file(REMOVE_RECURSE ${root})
    foreach(header ${ARGN})
        file(RELATIVE_PATH path ${PROJECT_SOURCE_DIR}/src ${header})
        get_filename_component(folder ${root}/${path} DIRECTORY)
        file(MAKE_DIRECTORY ${folder})
        file(CREATE_LINK ${header} ${root}/${path} SYMBOLIC)
    endforeach()
    target_include_directories(${target} ${scope} ${root})
endfunction()

# Running moc over a library with no Q_OBJECT only costs time: a scan per target, and an empty
# file compiled with the precompiled header.
function(sortilo_automoc_if_needed target)
    foreach(file ${ARGN})
        file(STRINGS ${file} found REGEX "Q_OBJECT|Q_GADGET|Q_NAMESPACE" LIMIT_COUNT 1)
        if(found)
            return()
        endif()
    endforeach()
    set_target_properties(${target} PROPERTIES AUTOMOC OFF)
endfunction()

# sortilo_finish_target(TARGET): once its sources and libraries are given, moc only if its
# sources need it and the precompiled header of the kind its libraries make it.
function(sortilo_finish_target target)
    get_target_property(sources ${target} SOURCES)
    list(TRANSFORM sources PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ REGEX "^[^/]")
    sortilo_automoc_if_needed(${target} ${sources})
    get_target_property(libs ${target} LINK_LIBRARIES)
    sortilo_links_widgets(widgets ${libs})
    sortilo_precompile(${target} ${widgets} OFF)
endfunction()

# sortilo_add_library(NAME LIBS dep ... [PRIVATE_LIBS dep ...]): one static library from the .cpp
# files of the current folder (not its sub-folders, which hold libraries of their own), exposing
# the folder's headers. PRIVATE_LIBS are used inside it and never seen by its users.
function(sortilo_add_library name)
    cmake_parse_arguments(L "" "" "LIBS;PRIVATE_LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(sources)
        add_library(${name} STATIC ${sources} ${headers})
        target_link_libraries(${name} PUBLIC ${L_LIBS} sortilo_flags)
        target_link_libraries(${name} PRIVATE ${L_PRIVATE_LIBS})
        sortilo_finish_target(${name})
        sortilo_expose_headers(${name} PUBLIC ${headers})
    else()
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE ${L_LIBS} sortilo_flags)
        sortilo_expose_headers(${name} INTERFACE ${headers})
    endif()
endfunction()
