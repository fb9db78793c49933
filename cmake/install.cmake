# The installed layout keeps the program's folder whole: <prefix>/lib/quenor
# holds the program, the batch runner, the language folder and the help
# collection, as in the build folder, so that everything the program finds
# "beside itself" is there. <prefix>/bin holds links to the two programs.
include(GNUInstallDirs)
set(QUENOR_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/quenor)
# Debian puts architecture-independent programs' private folders under lib/,
# not lib/<triplet>: keep one fixed name the links can point at.
if(CMAKE_INSTALL_LIBDIR MATCHES "/")
    set(QUENOR_PROGRAM_DIR lib/quenor)
endif()

install(TARGETS quenor quenor-run RUNTIME DESTINATION ${QUENOR_PROGRAM_DIR})
install(FILES ${QUENOR_HELP_FILES} DESTINATION ${QUENOR_PROGRAM_DIR})
install(FILES ${QUENOR_LANGUAGE_FILES} DESTINATION ${QUENOR_PROGRAM_DIR}/language)
# The example lessons of every language, with the scenarios they were made from.
foreach(locale ${example_locales})
    install(FILES ${QUENOR_EXAMPLES_${locale}} DESTINATION ${QUENOR_PROGRAM_DIR}/examples/${locale})
endforeach()
# Exports embed the large icon from beside the program.
install(FILES ${CMAKE_SOURCE_DIR}/images/quenor_lg.png DESTINATION ${QUENOR_PROGRAM_DIR})

foreach(program quenor quenor-run)
    install(CODE "
        set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(MAKE_DIRECTORY \"\${bin}\")
        file(CREATE_LINK \"../${QUENOR_PROGRAM_DIR}/${program}\" \"\${bin}/${program}\" SYMBOLIC)
        message(STATUS \"Installing link: \${bin}/${program}\")")
endforeach()

# A system-wide copy's folder is the system's: without write permission for
# anyone, the administrator's runs keep their settings in their own folder as
# every user's do. Otherwise one run as root would leave a quenor.ini there,
# with root's language and defaults, and every user's settings would be
# seeded from it. A copy installed under a user's own prefix stays writable.
install(CODE "
    if(CMAKE_INSTALL_PREFIX MATCHES \"^/usr(/|$)\")
        file(CHMOD \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QUENOR_PROGRAM_DIR}\"
            PERMISSIONS OWNER_READ OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
            WORLD_READ WORLD_EXECUTE)
    endif()")

# Desktop integration: menu entry, file type, icons, software-centre data.
set(desktop_id org.quenor.Quenor)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/${desktop_id}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/${desktop_id}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/${desktop_id}.mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${desktop_id}.xml)
file(GLOB icon_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/desktop/icons/*.png)
foreach(icon ${icon_files})
    get_filename_component(size ${icon} NAME_WE)
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps
        RENAME ${desktop_id}.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/images/src/quenor_lg.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${desktop_id}.svg)

# The Debian package: scripts/package.sh. Its version is the About box's:
# 4.1 and the days from 2000-01-01 to the build.
string(TIMESTAMP build_seconds "%s" UTC)
math(EXPR QUENOR_BUILD_DAYS "${build_seconds} / 86400 - 10957")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quenor)
set(CPACK_PACKAGE_VENDOR "Quenor")
set(CPACK_PACKAGE_CONTACT "Quenor developers <quenor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "teaching simulator of inhaled anaesthetic uptake")
set(CPACK_PACKAGE_VERSION "4.1.${QUENOR_BUILD_DAYS}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quenor.invalid/")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "teaching simulator of inhaled anaesthetic uptake\n Quenor shows how inhaled anaesthetics are taken up and distributed in\n the body: circuit, alveoli, vessel-rich group, muscle, fat and venous\n blood, as graphs, a picture of the machine and patient, and overlays.")
# The runtime libraries come from dpkg-shlibdeps; what is loaded at run time
# (image and SVG plugins, the help viewer, the translations, a font that has
# Chinese glyphs) is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6svg6, assistant-qt6, libqt6sql6-sqlite, libxslt1.1, fonts-wqy-microhei | fonts-noto-cjk, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
include(CPack)
