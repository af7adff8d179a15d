# The user manual: the HTML page, with its pictures made from the examples by the batch tool at
# build time (scripts/manual-pictures), into build/manual; installed with the program.

set(TARVEX_MANUAL_DIR ${CMAKE_BINARY_DIR}/manual)
set(TARVEX_MANUAL_PICTURES 01_desenho 02_problema 03_malha 04_equipotenciais 05_mapa_B
                           06_grafico)
list(TRANSFORM TARVEX_MANUAL_PICTURES PREPEND ${TARVEX_MANUAL_DIR}/img/)
list(TRANSFORM TARVEX_MANUAL_PICTURES APPEND .png)
file(GLOB TARVEX_MANUAL_EXAMPLES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/examples/*/*)

add_custom_command(
    OUTPUT ${TARVEX_MANUAL_DIR}/index.html ${TARVEX_MANUAL_PICTURES}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/docs/manual/index.html
            ${TARVEX_MANUAL_DIR}/index.html
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${CMAKE_SOURCE_DIR}/scripts/manual-pictures $<TARGET_FILE:tarvex-cli>
            ${TARVEX_MANUAL_DIR}/img
    DEPENDS tarvex-cli ${CMAKE_SOURCE_DIR}/docs/manual/index.html
            ${CMAKE_SOURCE_DIR}/scripts/manual-pictures ${TARVEX_MANUAL_EXAMPLES}
    COMMENT "Making the user manual's pictures with tarvex-cli"
    VERBATIM)
add_custom_target(tarvex_manual ALL DEPENDS ${TARVEX_MANUAL_DIR}/index.html)

# The program finds the manual in the build tree until it is installed.
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/ui/app/dlg_manual.cpp
    DIRECTORY ${CMAKE_SOURCE_DIR}/src/ui
    PROPERTIES COMPILE_DEFINITIONS "TARVEX_MANUAL_BUILD_DIR=\"${TARVEX_MANUAL_DIR}\"")
