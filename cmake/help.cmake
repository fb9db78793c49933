# The help collection: the pages under help/ compiled into Quenor.qch and
# Quenor.qhc beside the program, where the help command opens them. Part of
# the normal build; nothing generated is kept in the source tree: the
# pictures are made by the program itself (tools/quenor-shots) as the pages
# are staged, so that they show the program as it was built.
find_package(Qt6 REQUIRED COMPONENTS Help)
find_package(Qt6 QUIET COMPONENTS ToolsTools)
if(TARGET Qt6::qhelpgenerator)
    set(QUENOR_QHELPGENERATOR $<TARGET_FILE:Qt6::qhelpgenerator>)
else()
    find_program(QUENOR_QHELPGENERATOR NAMES qhelpgenerator qhelpgenerator-qt6
        HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_LIBEXECS}" "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}"
        REQUIRED)
endif()

file(GLOB_RECURSE help_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
# The project files name the pages relative to themselves: they are compiled
# from a copy, so that the collection lands beside the program.
set(help_stage ${CMAKE_BINARY_DIR}/help-pages)
set(help_outputs ${CMAKE_BINARY_DIR}/Quenor.qhc ${CMAKE_BINARY_DIR}/Quenor.qch)
add_custom_command(
    OUTPUT ${help_outputs}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${help_stage}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${help_outputs}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/help ${help_stage}
    # Offscreen, so that no display is needed; a sanitizer build's leak
    # report on exit must not fail the pictures.
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:quenor-shots> --language en_US --out ${help_stage}/images
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/images/quenor.png ${help_stage}/images/quenor.png
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:quenor-validation>
            ${help_stage}
    COMMAND ${QUENOR_QHELPGENERATOR} -s ${help_stage}/quenor.qhcp -o ${CMAKE_BINARY_DIR}/Quenor.qhc
    DEPENDS ${help_sources} quenor-shots quenor-validation ${CMAKE_SOURCE_DIR}/images/quenor.png
    COMMENT "Compiling the help collection"
    VERBATIM)
add_custom_target(quenor_help ALL DEPENDS ${help_outputs})
add_dependencies(quenor quenor_help)

# The help in Chinese: the pages under help/zh_CN compiled into
# Quenor_zh_CN.qch and Quenor_zh_CN.qhc beside the program, which opens the
# collection of its language. Its pictures are made by the program running in
# Chinese, under the same file names as the English ones, and its page on how
# close the model comes to patients is filled in Chinese words.
file(GLOB_RECURSE help_sources_zh_CN CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/zh_CN/*)
set(help_stage_zh_CN ${CMAKE_BINARY_DIR}/help-pages-zh_CN)
set(help_outputs_zh_CN ${CMAKE_BINARY_DIR}/Quenor_zh_CN.qhc ${CMAKE_BINARY_DIR}/Quenor_zh_CN.qch)
add_custom_command(
    OUTPUT ${help_outputs_zh_CN}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${help_stage_zh_CN}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${help_outputs_zh_CN}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/help/zh_CN ${help_stage_zh_CN}
    # One stylesheet for both languages (its fonts fall back to Chinese ones).
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/help/style.css ${help_stage_zh_CN}/style.css
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:quenor-shots> --language zh_CN --translations ${QUENOR_LANGUAGE_DIR}
            --out ${help_stage_zh_CN}/images
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/images/quenor.png ${help_stage_zh_CN}/images/quenor.png
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:quenor-validation>
            --language zh_CN ${help_stage_zh_CN}
    COMMAND ${QUENOR_QHELPGENERATOR} -s ${help_stage_zh_CN}/quenor.qhcp
        -o ${CMAKE_BINARY_DIR}/Quenor_zh_CN.qhc
    DEPENDS ${help_sources_zh_CN} ${CMAKE_SOURCE_DIR}/help/style.css quenor-shots quenor-validation ${CMAKE_SOURCE_DIR}/images/quenor.png
        ${QUENOR_LANGUAGE_FILES}
    COMMENT "Compiling the Chinese help collection"
    VERBATIM)
add_custom_target(quenor_help_zh_CN ALL DEPENDS ${help_outputs_zh_CN})
add_dependencies(quenor_help_zh_CN quenor_lrelease quenor_qt_catalogues)
add_dependencies(quenor_help quenor_help_zh_CN)
set(QUENOR_HELP_FILES ${help_outputs} ${help_outputs_zh_CN})
