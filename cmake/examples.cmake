# The example lessons: examples/<locale>/*.scenario are the batch runner's
# options as text; the runner makes each into a simulation (.qen) in the
# build folder's examples/<locale>, where File > Examples finds it together
# with its scenario (which gives the menu its title). Nothing generated is kept
# in the source tree. Each locale's examples run with that locale's built-in
# agent table, so that the agents carry the names of that language.
file(GLOB example_scenarios CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/examples/*/*.scenario)
set(QUENOR_EXAMPLES_DIR ${CMAKE_BINARY_DIR}/examples)
set(example_outputs "")
set(example_locales "")
foreach(scenario ${example_scenarios})
    get_filename_component(name ${scenario} NAME_WE)
    get_filename_component(folder ${scenario} DIRECTORY)
    get_filename_component(locale ${folder} NAME)
    set(ini ${CMAKE_SOURCE_DIR}/safeCopy/quenor_${locale}.ini)
    if(NOT EXISTS ${ini})
        message(FATAL_ERROR "Example ${scenario}: no built-in agent table for ${locale}")
    endif()
    set(out ${QUENOR_EXAMPLES_DIR}/${locale})
    # The runner may write to its agent table: each example gets a copy of its own.
    set(work_ini ${QUENOR_EXAMPLES_DIR}/work/${locale}-${name}.ini)
    add_custom_command(
        OUTPUT ${out}/${name}.qen ${out}/${name}.scenario
        COMMAND ${CMAKE_COMMAND} -E make_directory ${out} ${QUENOR_EXAMPLES_DIR}/work
        COMMAND ${CMAKE_COMMAND} -E copy ${ini} ${work_ini}
        COMMAND ${CMAKE_COMMAND} -E copy ${scenario} ${out}/${name}.scenario
        COMMAND ${CMAKE_COMMAND} -E env LANG=${locale}.UTF-8 LC_ALL=${locale}.UTF-8
            $<TARGET_FILE:quenor-run> --ini ${work_ini} --scenario ${scenario}
            --save ${out}/${name}.qen
        DEPENDS quenor-run ${scenario} ${ini} ${QUENOR_LANGUAGE_FILES}
        COMMENT "Making the example ${locale}/${name}.qen"
        VERBATIM)
    list(APPEND example_outputs ${out}/${name}.qen ${out}/${name}.scenario)
    list(APPEND QUENOR_EXAMPLES_${locale} ${out}/${name}.qen ${out}/${name}.scenario)
    list(APPEND example_locales ${locale})
endforeach()
list(REMOVE_DUPLICATES example_locales)
add_custom_target(quenor_examples ALL DEPENDS ${example_outputs})
add_dependencies(quenor_examples quenor_lrelease)
add_dependencies(quenor quenor_examples)
