# The Linux program's menu, dialogs and message boxes (FLTK), the same for both pet
# shells. Gives tuvo_linux_ui to link, its unit tests and a harness to look at them.
include_guard(GLOBAL)

find_package(X11 REQUIRED)
find_package(Fontconfig REQUIRED)
find_path(FLTK_INCLUDE_DIR FL/Fl.H REQUIRED)
find_library(FLTK_BASE_LIBRARY fltk REQUIRED)

set(tuvo_ui_dir ${CMAKE_CURRENT_LIST_DIR})

# Layout, menu entries, line breaking, pictures and the dialogs' places: no display
# needed, unit-tested.
add_library(tuvo_linux_ui_logic STATIC
  ${tuvo_ui_dir}/ui_layout.cpp
  ${tuvo_ui_dir}/ui_pictures.cpp
  ${tuvo_ui_dir}/dialog_place.cpp
)
target_include_directories(tuvo_linux_ui_logic PUBLIC ${tuvo_ui_dir} ${PROJECT_SOURCE_DIR}/resources ${FLTK_INCLUDE_DIR})
target_link_libraries(tuvo_linux_ui_logic PUBLIC tuvo_common tuvo_engine tuvo_desktop X11::X11 ${FLTK_BASE_LIBRARY})

# The FLTK side the program links: the pet side provides what x11.h calls its own.
add_library(tuvo_linux_ui STATIC
  ${tuvo_ui_dir}/fonts.cpp
  ${tuvo_ui_dir}/ui_setup.cpp
  ${tuvo_ui_dir}/menu.cpp
  ${tuvo_ui_dir}/options.cpp
  ${tuvo_ui_dir}/about.cpp
  ${tuvo_ui_dir}/boxes.cpp
  ${tuvo_ui_dir}/dialog_window.cpp
)
target_link_libraries(tuvo_linux_ui PUBLIC tuvo_linux_ui_logic tuvo_linux_art Fontconfig::Fontconfig)

# A stand-in for the pet that opens the menu, the dialogs and the boxes on request, to
# look at them and drive them under Xvfb: built with the tests, so that it keeps up with
# what the menu and dialogs ask of the pet, and not otherwise.
add_executable(tuvo-ui-harness EXCLUDE_FROM_ALL ${tuvo_ui_dir}/ui_harness.cpp)
target_link_libraries(tuvo-ui-harness PRIVATE tuvo_linux_ui)
if(TUVO_TESTS)
  set_target_properties(tuvo-ui-harness PROPERTIES EXCLUDE_FROM_ALL OFF)
endif()

if(TUVO_TESTS)
  add_executable(x11_ui_tests
    ${PROJECT_SOURCE_DIR}/tests/x11/ui_layout_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/x11/ui_pictures_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/x11/dialog_place_test.cpp
  )
  target_link_libraries(x11_ui_tests PRIVATE tuvo_linux_ui_logic GTest::gtest GTest::gtest_main)
  gtest_discover_tests(x11_ui_tests PROPERTIES LABELS x11 DISCOVERY_TIMEOUT 30)
endif()
