# Translations: language/quenor_<locale>.ts compiled by lrelease into the
# language folder beside the program, where the program looks for
# quenor_<locale>.qm, together with the toolkit's own catalogue (qt_<locale>.qm
# and the modules it names), so that standard buttons and dialogs follow.
#
# `cmake --build --preset debug --target quenor_lupdate` refreshes the .ts
# files from the sources; translate what it marks unfinished with linguist or
# by hand, and commit.
file(GLOB quenor_ts_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/language/quenor_*.ts)
file(GLOB_RECURSE quenor_tr_sources CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/app/*.h
    ${CMAKE_SOURCE_DIR}/views/*.cpp ${CMAKE_SOURCE_DIR}/views/*.h
    ${CMAKE_SOURCE_DIR}/document/*.cpp ${CMAKE_SOURCE_DIR}/document/*.h
    ${CMAKE_SOURCE_DIR}/engine/*.cpp ${CMAKE_SOURCE_DIR}/engine/*.h
    ${CMAKE_SOURCE_DIR}/forms/*.ui)
set(QUENOR_TR_SOURCES ${quenor_tr_sources} CACHE INTERNAL "Sources whose texts are translated")
set(QUENOR_LANGUAGE_DIR ${CMAKE_BINARY_DIR}/language)

set_source_files_properties(${quenor_ts_files} PROPERTIES OUTPUT_LOCATION ${QUENOR_LANGUAGE_DIR})
qt_add_lupdate(quenor TS_FILES ${quenor_ts_files} SOURCES ${quenor_tr_sources}
    INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}
    OPTIONS -no-obsolete -locations none)
qt_add_lrelease(quenor TS_FILES ${quenor_ts_files} QM_FILES_OUTPUT_VARIABLE quenor_qm_files)

# The toolkit's catalogues for each language we ship (Debian package
# qt6-translations-l10n). qt_<locale>.qm only names the module catalogues, so
# those travel with it.
set(qt_catalogues "")
find_path(QUENOR_QT_TRANSLATIONS_DIR NAMES qtbase_zh_CN.qm qtbase_de.qm
    HINTS ${QT6_INSTALL_PREFIX}/translations ${QT6_INSTALL_PREFIX}/share/qt6/translations
    PATHS /usr/share/qt6/translations)
set(qt_translations_dir ${QUENOR_QT_TRANSLATIONS_DIR})
foreach(ts ${quenor_ts_files})
    get_filename_component(ts_name ${ts} NAME_WE)
    string(REPLACE "quenor_" "" ts_locale ${ts_name})
    foreach(module qt qtbase qtmultimedia qt_help)
        set(catalogue "${qt_translations_dir}/${module}_${ts_locale}.qm")
        if(EXISTS "${catalogue}")
            list(APPEND qt_catalogues "${catalogue}")
        endif()
    endforeach()
endforeach()
set(qt_catalogue_copies "")
foreach(catalogue ${qt_catalogues})
    get_filename_component(name ${catalogue} NAME)
    add_custom_command(OUTPUT ${QUENOR_LANGUAGE_DIR}/${name}
        COMMAND ${CMAKE_COMMAND} -E copy ${catalogue} ${QUENOR_LANGUAGE_DIR}/${name}
        DEPENDS ${catalogue} VERBATIM)
    list(APPEND qt_catalogue_copies ${QUENOR_LANGUAGE_DIR}/${name})
endforeach()
add_custom_target(quenor_qt_catalogues ALL DEPENDS ${qt_catalogue_copies})
add_dependencies(quenor quenor_qt_catalogues)
set(QUENOR_LANGUAGE_FILES ${quenor_qm_files} ${qt_catalogue_copies})
