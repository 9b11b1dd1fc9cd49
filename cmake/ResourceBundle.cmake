# Copies resources/ into <build>/share/plinth, the layout the program finds
# beside its executable, and compiles the text catalogs into it.

file(GLOB_RECURSE PLINTH_RESOURCE_FILES CONFIGURE_DEPENDS
    LIST_DIRECTORIES false
    ${CMAKE_SOURCE_DIR}/resources/*)

set(PLINTH_BUNDLE_STAMP ${CMAKE_BINARY_DIR}/plinth_bundle.stamp)
add_custom_command(
    OUTPUT ${PLINTH_BUNDLE_STAMP}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/resources ${PLINTH_BUNDLE_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${PLINTH_BUNDLE_STAMP}
    DEPENDS ${PLINTH_RESOURCE_FILES}
    COMMENT "Copying the resource bundle to ${PLINTH_BUNDLE_DIR}"
    VERBATIM)

# <template>.files lists every file of a template (relative to its folder),
# so that the template copy can name a file the installed bundle lacks.
foreach(template SwiftUIBaseSetup UIKitBaseSetup)
    file(GLOB_RECURSE template_files LIST_DIRECTORIES false CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/resources/${template}
        ${CMAKE_SOURCE_DIR}/resources/${template}/*)
    list(SORT template_files)
    list(JOIN template_files "\n" template_lines)
    file(CONFIGURE OUTPUT ${PLINTH_BUNDLE_DIR}/${template}.files CONTENT "${template_lines}\n" @ONLY)
endforeach()

file(GLOB PLINTH_TS_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/translations/*.ts)
set(PLINTH_QM_FILES)
foreach(ts ${PLINTH_TS_FILES})
    get_filename_component(base ${ts} NAME_WE)
    set(qm ${PLINTH_BUNDLE_DIR}/translations/${base}.qm)
    add_custom_command(
        OUTPUT ${qm}
        COMMAND Qt6::lrelease -idbased -silent ${ts} -qm ${qm}
        DEPENDS ${ts} ${PLINTH_BUNDLE_STAMP} Qt6::lrelease
        VERBATIM)
    list(APPEND PLINTH_QM_FILES ${qm})
endforeach()

add_custom_target(plinth_bundle ALL DEPENDS ${PLINTH_BUNDLE_STAMP} ${PLINTH_QM_FILES})

# The Heebo fonts (SIL Open Font License) come from the npm package
# @fontsource/heebo, which scripts/setup.sh fetches into .cache/npm; they are
# never committed. When they are absent the program uses the system font.
set(PLINTH_HEEBO_DIR ${CMAKE_SOURCE_DIR}/.cache/npm/node_modules/@fontsource/heebo)
if(EXISTS ${PLINTH_HEEBO_DIR}/files/heebo-latin-400-normal.woff)
    set(PLINTH_FONT_FILES)
    foreach(pair "100;Heebo-Thin" "400;Heebo-Regular" "700;Heebo-Bold")
        list(GET pair 0 weight)
        list(GET pair 1 name)
        set(font ${PLINTH_BUNDLE_DIR}/fonts/${name}.woff)
        add_custom_command(
            OUTPUT ${font}
            COMMAND ${CMAKE_COMMAND} -E copy ${PLINTH_HEEBO_DIR}/files/heebo-latin-${weight}-normal.woff ${font}
            DEPENDS ${PLINTH_HEEBO_DIR}/files/heebo-latin-${weight}-normal.woff
            VERBATIM)
        list(APPEND PLINTH_FONT_FILES ${font})
    endforeach()
    set(font_license ${PLINTH_BUNDLE_DIR}/fonts/Heebo-LICENSE.txt)
    add_custom_command(
        OUTPUT ${font_license}
        COMMAND ${CMAKE_COMMAND} -E copy ${PLINTH_HEEBO_DIR}/LICENSE ${font_license}
        DEPENDS ${PLINTH_HEEBO_DIR}/LICENSE
        VERBATIM)
    add_custom_target(plinth_fonts DEPENDS ${PLINTH_FONT_FILES} ${font_license})
    add_dependencies(plinth_bundle plinth_fonts)
else()
    message(STATUS "Heebo fonts not found in .cache/npm (run scripts/setup.sh); the program will use the system font")
endif()
