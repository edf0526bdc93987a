# One static library per subsystem folder (relative to the calling CMakeLists); every .cpp in the
# folder, not its subfolders, belongs to it.
function(quill_library name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  if(NOT sources)
    # A subsystem folder with no code yet still gives its library, so the others can link it.
    set(sources ${CMAKE_BINARY_DIR}/empty/${name}.cpp)
    file(WRITE ${sources} "")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
endfunction()

# One test program per test file (test_<folder>_<file>), so that a test builds and runs on its own;
# each links the libraries named after the folder.
function(quill_test_folder folder dir)
  # Tests never read or write the real user's settings, saves or locks.
  set(home ${CMAKE_BINARY_DIR}/test-home)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  foreach(source ${sources})
    get_filename_component(stem ${source} NAME_WE)
    set(name test_${folder}_${stem})
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE ${ARGN} quill_test_support GTest::gtest GTest::gmock
                          GTest::gtest_main)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_dependencies(quill_tests ${name})
    gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT
                         "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;XDG_CONFIG_HOME=${home}/config;XDG_DATA_HOME=${home}/data;XDG_RUNTIME_DIR=${home}/run")
    if(${folder} STREQUAL "e2e" OR ${folder} STREQUAL "tools")
      # These run the built programs.
      add_dependencies(${name} quill qlmtool demo_game)
    endif()
  endforeach()
endfunction()
