# Plinth.app on macOS: the window program as an application bundle with
#   Contents/Info.plist        from cmake/Info.plist.in
#   Contents/MacOS/Plinth      the window program
#   Contents/MacOS/plinth-cli  (installed) the command-line program
#   Contents/Resources         the resource bundle and Plinth.icns
# Both programs find the resources at ../Resources (ResourceBundle). Installing
# (cmake --install, cpack) runs macdeployqt on the installed app, so the .dmg
# carries its Qt frameworks and libvterm. Included from src/.

set(PLINTH_BUNDLE_IDENTIFIER "com.tarnwick.plinth")
set(PLINTH_MACOS_MINIMUM_VERSION "12.0")
if(CMAKE_OSX_DEPLOYMENT_TARGET)
    set(PLINTH_MACOS_MINIMUM_VERSION ${CMAKE_OSX_DEPLOYMENT_TARGET})
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/Info.plist.in ${CMAKE_CURRENT_BINARY_DIR}/Info.plist @ONLY)

# The icon, made from the logo: the logo drawn at every size of an iconset
# (src/tools/RenderIconset.cpp, with Qt's SVG renderer), then iconutil.
add_executable(plinth_render_iconset tools/RenderIconset.cpp)
target_link_libraries(plinth_render_iconset PRIVATE Qt6::Gui Qt6::Svg)
set_target_properties(plinth_render_iconset PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
set(PLINTH_LOGO ${PROJECT_SOURCE_DIR}/resources/images/Logo.svg)
set(PLINTH_ICONSET ${CMAKE_CURRENT_BINARY_DIR}/Plinth.iconset)
set(PLINTH_ICNS ${CMAKE_CURRENT_BINARY_DIR}/Plinth.icns)
add_custom_command(
    OUTPUT ${PLINTH_ICNS}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${PLINTH_ICONSET}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:plinth_render_iconset> ${PLINTH_LOGO} ${PLINTH_ICONSET}
    COMMAND iconutil --convert icns --output ${PLINTH_ICNS} ${PLINTH_ICONSET}
    DEPENDS plinth_render_iconset ${PLINTH_LOGO}
    COMMENT "Making Plinth.icns from the logo"
    VERBATIM)
target_sources(plinth PRIVATE ${PLINTH_ICNS})
set_source_files_properties(${PLINTH_ICNS} PROPERTIES MACOSX_PACKAGE_LOCATION Resources)

set_target_properties(plinth PROPERTIES
    MACOSX_BUNDLE TRUE
    OUTPUT_NAME Plinth
    MACOSX_BUNDLE_INFO_PLIST ${CMAKE_CURRENT_BINARY_DIR}/Info.plist)

# The build tree's app runs like the installed one: its resources are a copy
# of <build>/share/plinth, refreshed on every build.
add_custom_target(plinth_app_resources ALL
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PLINTH_BUNDLE_DIR} $<TARGET_BUNDLE_CONTENT_DIR:plinth>/Resources
    COMMENT "Copying the resource bundle into Plinth.app"
    VERBATIM)
add_dependencies(plinth_app_resources plinth plinth_bundle)

install(TARGETS plinth BUNDLE DESTINATION .)
install(TARGETS plinth-cli RUNTIME DESTINATION Plinth.app/Contents/MacOS)
install(DIRECTORY ${PLINTH_BUNDLE_DIR}/ DESTINATION Plinth.app/Contents/Resources USE_SOURCE_PERMISSIONS)

# macdeployqt copies the Qt frameworks, plugins and other non-system libraries
# into the installed app and points both programs at them; changing the
# binaries breaks their signatures, so the app is signed again (ad hoc; a
# release signs it with a Developer ID afterwards).
set(PLINTH_QT_BIN_DIR)
if(TARGET Qt6::qmake)
    get_target_property(PLINTH_QMAKE Qt6::qmake IMPORTED_LOCATION)
    get_filename_component(PLINTH_QT_BIN_DIR "${PLINTH_QMAKE}" DIRECTORY)
endif()
find_program(PLINTH_MACDEPLOYQT macdeployqt HINTS ${PLINTH_QT_BIN_DIR} REQUIRED)
install(CODE "
    set(app \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/Plinth.app\")
    message(STATUS \"macdeployqt: \${app}\")
    execute_process(COMMAND \"${PLINTH_MACDEPLOYQT}\" \"\${app}\"
                            \"-executable=\${app}/Contents/MacOS/plinth-cli\" -always-overwrite
                    COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND codesign --force --deep --sign - \"\${app}\" COMMAND_ERROR_IS_FATAL ANY)
")
