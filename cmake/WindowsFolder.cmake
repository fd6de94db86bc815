# A Windows build is one folder to copy and run: the programs, the Qt
# libraries they load, Qt's plugins in the folders Qt looks for beside a
# program (platforms, styles, imageformats) and Qt's Chinese texts.
# Made when configuring, from the Qt for MinGW given as SUITE_QT_MINGW.
set(suite_folder ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
foreach(library Core Gui Widgets Network Test)
  file(COPY ${SUITE_QT_MINGW}/bin/Qt6${library}.dll DESTINATION ${suite_folder})
endforeach()
# Qt's libraries load the MinGW runtime (the programs have it built in).
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                  OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT EXISTS "${runtime_path}")
    message(FATAL_ERROR "The MinGW runtime library ${runtime} is not where ${CMAKE_CXX_COMPILER} says")
  endif()
  file(COPY ${runtime_path} DESTINATION ${suite_folder})
endforeach()
# windows: the desktop; offscreen: the window tests; the style and the image
# formats the desktop build looks for.
file(COPY ${SUITE_QT_MINGW}/plugins/platforms/qwindows.dll ${SUITE_QT_MINGW}/plugins/platforms/qoffscreen.dll
     DESTINATION ${suite_folder}/platforms)
file(COPY ${SUITE_QT_MINGW}/plugins/styles DESTINATION ${suite_folder})
file(COPY ${SUITE_QT_MINGW}/plugins/imageformats DESTINATION ${suite_folder})

# Qt's own texts come from the build machine's Qt (the same on every system).
find_file(SUITE_QTBASE_ZH_CN qtbase_zh_CN.qm PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
if(SUITE_QTBASE_ZH_CN)
  file(COPY ${SUITE_QTBASE_ZH_CN} DESTINATION ${suite_folder}/translations)
else()
  message(WARNING "qtbase_zh_CN.qm not found (Debian: qt6-translations-l10n): Qt's own texts stay English on Windows")
endif()
