# SQLCipher built from its amalgamation, under the name the system's library has
# (PkgConfig::SQLCIPHER), with its header where the code includes it (<sqlcipher/sqlite3.h>).
find_package(OpenSSL REQUIRED COMPONENTS Crypto)
set(_dir ${SORTILO_SQLCIPHER_SOURCE})
configure_file(${_dir}/sqlite3.h ${CMAKE_BINARY_DIR}/sqlcipher-include/sqlcipher/sqlite3.h COPYONLY)
add_library(sortilo_sqlcipher_amalgamation STATIC ${_dir}/sqlite3.c)
target_compile_definitions(sortilo_sqlcipher_amalgamation PRIVATE
    _GNU_SOURCE SQLITE_HAS_CODEC SQLCIPHER_CRYPTO_OPENSSL SQLITE_TEMP_STORE=2 SQLITE_THREADSAFE=1
    SQLITE_EXTRA_INIT=sqlcipher_extra_init SQLITE_EXTRA_SHUTDOWN=sqlcipher_extra_shutdown)
target_include_directories(sortilo_sqlcipher_amalgamation
    PUBLIC ${CMAKE_BINARY_DIR}/sqlcipher-include PRIVATE ${_dir})
target_link_libraries(sortilo_sqlcipher_amalgamation PUBLIC OpenSSL::Crypto ${CMAKE_DL_LIBS} m)
set_target_properties(sortilo_sqlcipher_amalgamation PROPERTIES POSITION_INDEPENDENT_CODE ON AUTOMOC OFF)
# The amalgamation uses uint64_t without including <stdint.h> on this platform.
target_compile_options(sortilo_sqlcipher_amalgamation PRIVATE -w "SHELL:-include stdint.h")
add_library(PkgConfig::SQLCIPHER ALIAS sortilo_sqlcipher_amalgamation)
