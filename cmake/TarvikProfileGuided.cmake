# Profile-guided optimisation of what a flight runs: the host library, the
# plug-ins and tarvik-sim. The build first makes an instrumented copy of them
# in profile-training/, flies the shipped missions with it (the training),
# and then compiles the real ones with the counts the training left: which
# branches are taken and which calls are hot decide the code's layout,
# inlining and unrolling. The arithmetic is what it is without them (no
# reassociation or contraction either way), so every flight stays bit for bit
# the same as in a build without a profile.
#
# The counts are read when an object is compiled. An incremental build trains
# again when an instrumented binary changes, and the objects compiled after
# it read the new counts; an object left as it was keeps the ones it was
# compiled with, which only costs speed.

# What a flight runs, and the shipped missions that train it.
set(TARVIK_FLIGHT_TARGETS
  tarvik_common tarvik_host tarvik_sim_core tarvik-sim
  medium_rules medium_launcher TarvikM4 TarvikM42 TarvikM52 TarvikM54
  TarvikSH siteeast sitewest)
set(TARVIK_FLIGHT_PROGRAMS
  tarvik-sim TarvikM4 TarvikM42 TarvikM52 TarvikM54 TarvikSH siteeast sitewest)

if(TARVIK_PROFILE_TRAINING)
  foreach(target IN LISTS TARVIK_FLIGHT_TARGETS)
    target_compile_options(${target} PRIVATE -fprofile-generate -fprofile-update=single)
    target_link_options(${target} PRIVATE -fprofile-generate)
  endforeach()
  return()
endif()
if(NOT TARVIK_PROFILE_GUIDED)
  return()
endif()
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  message(STATUS "The profile-guided build takes GCC: this one goes without a profile")
  return()
endif()

include(ExternalProject)
set(training_dir ${CMAKE_BINARY_DIR}/profile-training)
# Under make the instrumented build shares the jobs of the build around it.
if(CMAKE_GENERATOR MATCHES "Makefiles")
  set(training_build $(MAKE) ${TARVIK_FLIGHT_PROGRAMS})
else()
  set(training_build ${CMAKE_COMMAND} --build ${training_dir} --target ${TARVIK_FLIGHT_PROGRAMS})
endif()
# The instrumented files the training flies with: the program, the host
# library, and each plug-in in Modules/.
set(training_binaries ${training_dir}/bin/tarvik-sim ${training_dir}/lib/libtarvik_host.so)
foreach(program IN LISTS TARVIK_FLIGHT_PROGRAMS)
  if(NOT program STREQUAL "tarvik-sim")
    list(APPEND training_binaries ${training_dir}/Modules/${program}.so)
  endif()
endforeach()
ExternalProject_Add(tarvik_profile_build
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${training_dir}
  CMAKE_ARGS
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}
    -DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS}
    -DTARVIK_WERROR=${TARVIK_WERROR}
    -DBUILD_TESTING=OFF
    -DTARVIK_PROFILE_TRAINING=ON
  BUILD_COMMAND ${training_build}
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${training_binaries}
  INSTALL_COMMAND ""
  EXCLUDE_FROM_ALL ON)

file(GLOB training_scripts CONFIGURE_DEPENDS ${TARVIK_DATA_DIR}/scripts/*.txt)
set(trained_stamp ${training_dir}/trained.stamp)
add_custom_command(OUTPUT ${trained_stamp}
  COMMAND ${CMAKE_COMMAND}
    -DTRAINING_DIR=${training_dir} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DDATA_DIR=${TARVIK_DATA_DIR}
    -DSTAMP=${trained_stamp} -P ${CMAKE_CURRENT_LIST_DIR}/TarvikTrainProfile.cmake
  DEPENDS tarvik_profile_build ${training_binaries} ${training_scripts}
    ${CMAKE_CURRENT_LIST_DIR}/TarvikTrainProfile.cmake
  COMMENT "Flying the shipped missions with the instrumented build for the profile"
  VERBATIM)
add_custom_target(tarvik_profile DEPENDS ${trained_stamp})

foreach(target IN LISTS TARVIK_FLIGHT_TARGETS)
  add_dependencies(${target} tarvik_profile)
  target_compile_options(${target} PRIVATE -fprofile-use -fprofile-partial-training -Wno-missing-profile)
  target_link_options(${target} PRIVATE -fprofile-use -fprofile-partial-training)
endforeach()
