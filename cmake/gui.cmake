# quenor_gui: views, application shell, options and their forms and pictures.
file(GLOB gui_sources CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/views/*.cpp ${CMAKE_SOURCE_DIR}/views/*.h
    ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/app/*.h
    ${CMAKE_SOURCE_DIR}/options/*.cpp ${CMAKE_SOURCE_DIR}/options/*.h
    ${CMAKE_SOURCE_DIR}/forms/*.ui)
list(FILTER gui_sources EXCLUDE REGEX ".*/app/main\\.cpp$")
add_library(quenor_gui STATIC ${gui_sources})
target_link_libraries(quenor_gui PUBLIC quenor_document quenor_engine
    Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport Qt6::Multimedia Qt6::Svg)

file(GLOB image_files CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/images
     ${CMAKE_SOURCE_DIR}/images/*.png)
if(image_files)
    list(TRANSFORM image_files PREPEND ${CMAKE_SOURCE_DIR}/images/ OUTPUT_VARIABLE image_paths)
    qt_add_resources(quenor_gui "images"
        PREFIX "/images"
        BASE ${CMAKE_SOURCE_DIR}/images
        FILES ${image_paths})
endif()

add_executable(quenor ${CMAKE_SOURCE_DIR}/app/main.cpp)
target_link_libraries(quenor PRIVATE quenor_gui)
