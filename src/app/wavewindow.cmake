# The wave window's display: coordinates and zoom, the wave view and the
# volume diagram, rendered into images so that tests and benchmarks need no
# window. The desktop program's library links it.
set(TB_WAVEWINDOW_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/waveviewcoords.cpp
    ${CMAKE_CURRENT_LIST_DIR}/waveviewpainter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/waveview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/volumediagram.cpp)
add_library(tb_wavewindow STATIC ${TB_WAVEWINDOW_SOURCES})
set_target_properties(tb_wavewindow PROPERTIES AUTOMOC ON)
target_link_libraries(tb_wavewindow PUBLIC tb_documents Qt6::Widgets)
