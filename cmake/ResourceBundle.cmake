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
