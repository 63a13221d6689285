# What horavista.exe needs beside it on a Windows machine that has no Qt: the Qt libraries, the C++
# runtime of the mingw-w64 compiler, the windows platform plugin, the image formats the program reads
# (JPEG and GIF pictures, the icon) and the native widget style.
set(runtime_libraries)
foreach(library libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${library}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "The compiler's runtime library ${library} is missing")
    endif()
    file(REAL_PATH "${path}" path)
    list(APPEND runtime_libraries "${path}")
endforeach()
install(FILES ${runtime_libraries} DESTINATION .)

install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets> DESTINATION .)
foreach(entry platforms:QWindowsIntegrationPlugin imageformats:QJpegPlugin imageformats:QGifPlugin
              imageformats:QICOPlugin styles:QWindowsVistaStylePlugin)
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 folder)
    list(GET parts 1 plugin)
    install(FILES $<TARGET_FILE:Qt6::${plugin}> DESTINATION ${folder})
endforeach()

# The libraries as they come carry their debugging symbols (the C++ runtime 24 MB of them); the package
# does not need them.
install(CODE "
    file(GLOB_RECURSE libraries \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll\")
    execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \${libraries} COMMAND_ERROR_IS_FATAL ANY)
")
