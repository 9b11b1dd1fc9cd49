# What `cmake --install` and CPack put where. Included from src/ (the
# programs' own directory).
#
# Linux and other Unix systems: bin/plinth, bin/plinth-cli and the resource
# bundle in share/plinth, the place ResourceBundle looks for it beside an
# installed program (../share/plinth). macOS: Plinth.app (MacAppBundle.cmake).

if(APPLE)
    include(${PROJECT_SOURCE_DIR}/cmake/MacAppBundle.cmake)
    return()
endif()

set(PLINTH_INSTALL_BUNDLE_DIR ${CMAKE_INSTALL_DATADIR}/plinth)
file(RELATIVE_PATH PLINTH_BUNDLE_FROM_BIN /${CMAKE_INSTALL_BINDIR} /${PLINTH_INSTALL_BUNDLE_DIR})
if(NOT PLINTH_BUNDLE_FROM_BIN STREQUAL "../share/plinth")
    message(WARNING "The installed programs look for their resources at ../share/plinth, "
                    "but CMAKE_INSTALL_BINDIR and CMAKE_INSTALL_DATADIR put them at ${PLINTH_BUNDLE_FROM_BIN}")
endif()

install(TARGETS plinth plinth-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The scripts keep their executable bit.
install(DIRECTORY ${PLINTH_BUNDLE_DIR}/ DESTINATION ${PLINTH_INSTALL_BUNDLE_DIR} USE_SOURCE_PERMISSIONS)
