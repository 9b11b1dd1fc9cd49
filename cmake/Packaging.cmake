# CPack: `cpack` in a configured and built tree (scripts/package.sh does it
# all) makes a .tar.gz and a .deb on Linux and a .dmg on macOS from the
# install rules (cmake/Install.cmake, cmake/MacAppBundle.cmake).

set(PLINTH_PACKAGE_MAINTAINER "Tarnwick Solutions <plinth@tarnwick.com>"
    CACHE STRING "Maintainer named in the packages (Name <address>)")

set(CPACK_PACKAGE_NAME plinth)
set(CPACK_PACKAGE_VENDOR "Tarnwick Solutions")
set(CPACK_PACKAGE_CONTACT ${PLINTH_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop wizard that sets up iOS app projects")
set(CPACK_PACKAGE_DESCRIPTION
    "Plinth scaffolds new iOS app projects (SwiftUI or UIKit) from built-in templates through XcodeGen and CocoaPods, and adds ready-made feature modules to existing projects. plinth-cli does the same from a JSON description.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tarnwick.com/plinth")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

if(APPLE)
    set(CPACK_GENERATOR DragNDrop)
    set(CPACK_DMG_VOLUME_NAME Plinth)
    set(CPACK_PACKAGE_FILE_NAME "Plinth-${PROJECT_VERSION}")
    # macdeployqt has changed the binaries and the app is signed; stripping now
    # would break the signature.
    set(CPACK_STRIP_FILES OFF)
else()
    set(CPACK_GENERATOR TGZ DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION devel)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${PLINTH_PACKAGE_MAINTAINER})
    # The libraries the programs link (Qt 6, libvterm) come from
    # dpkg-shlibdeps where it is installed, else from this list (Debian 12).
    # Either way the window needs Qt's platform plugins, and the program runs
    # its scripts with /bin/zsh.
    find_program(PLINTH_DPKG_SHLIBDEPS dpkg-shlibdeps)
    if(PLINTH_DPKG_SHLIBDEPS)
        set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
        set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, zsh")
    else()
        set(CPACK_DEBIAN_PACKAGE_DEPENDS
            "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6network6 (>= 6.4), libqt6concurrent6 (>= 6.4), libqt6svg6 (>= 6.4), libvterm0, libstdc++6, libc6, qt6-qpa-plugins, zsh")
    endif()
endif()

include(CPack)
