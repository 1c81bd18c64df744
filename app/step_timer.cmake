# The step timer service: a library of its own, so that its tests and benchmark need no window.
add_library(vornick_step_timer STATIC
  ${CMAKE_CURRENT_LIST_DIR}/step_timer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/step_timer.h
)
target_include_directories(vornick_step_timer PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(vornick_step_timer PUBLIC vornick_core Qt6::Core)
vornick_target_warnings(vornick_step_timer)
