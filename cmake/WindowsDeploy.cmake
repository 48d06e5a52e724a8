# What the program needs beside it on Windows, gathered as windeployqt would: the Qt DLLs it
# links, the MinGW runtime DLLs, the platform, style and SQL driver plugins, and the import files.
# `cmake --install` puts them in one folder that runs on a clean Windows machine; the installer
# packs that folder. The tests of a cross-build find the same DLLs and plugins through WINEPATH
# and QT_PLUGIN_PATH.

get_target_property(BREVANT_QT_CORE_DLL Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(BREVANT_QT_BIN_DIR ${BREVANT_QT_CORE_DLL} DIRECTORY)
set(BREVANT_QT_PLUGIN_DIR ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})

set(BREVANT_MINGW_RUNTIME "")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(path "${path}" REALPATH)
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "The MinGW runtime ${dll} was not found (${CMAKE_CXX_COMPILER})")
    endif()
    list(APPEND BREVANT_MINGW_RUNTIME ${path})
endforeach()

install(TARGETS brevant RUNTIME DESTINATION .)
foreach(module Core Gui Widgets Sql)
    install(FILES ${BREVANT_QT_BIN_DIR}/Qt6${module}.dll DESTINATION .)
endforeach()
install(FILES ${BREVANT_MINGW_RUNTIME} DESTINATION .)
install(FILES ${BREVANT_QT_PLUGIN_DIR}/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${BREVANT_QT_PLUGIN_DIR}/styles/qwindowsvistastyle.dll DESTINATION styles)
install(FILES ${BREVANT_QT_PLUGIN_DIR}/sqldrivers/qsqlite.dll
              ${BREVANT_QT_PLUGIN_DIR}/sqldrivers/qsqlodbc.dll DESTINATION sqldrivers)
foreach(name ${BREVANT_IMPORT_FILES})
    install(FILES ${PROJECT_SOURCE_DIR}/sample/${name}.csv DESTINATION .)
endforeach()

# A Windows path of the build machine as Wine shows it (drive Z: is the root).
function(brevant_wine_path out path)
    string(REPLACE "/" "\\" path "${path}")
    set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()
set(wine_dirs "")
foreach(dir ${BREVANT_QT_BIN_DIR} ${BREVANT_MINGW_RUNTIME})
    if(dir MATCHES "\\.dll$")
        get_filename_component(dir ${dir} DIRECTORY)
    endif()
    brevant_wine_path(dir ${dir})
    list(APPEND wine_dirs ${dir})
endforeach()
list(REMOVE_DUPLICATES wine_dirs)
brevant_wine_path(wine_plugins ${BREVANT_QT_PLUGIN_DIR})
# A test's ENVIRONMENT cannot hold a semicolon: cmake/wine-run.sh makes WINEPATH of this list.
string(REPLACE ";" "|" wine_path "${wine_dirs}")
set(BREVANT_WINE_TEST_ENV "BREVANT_WINEPATH=${wine_path}" "QT_PLUGIN_PATH=${wine_plugins}")
