# The training run of the profile-guided build (cmake -P): flies the shipped
# missions with the instrumented build in TRAINING_DIR, then copies the counts
# it left to the same places in BUILD_DIR, where the real objects are compiled.
# A count file is rewritten only when it changed, so an unchanged profile
# leaves the build as it is.
#
#   cmake -DTRAINING_DIR=... -DBUILD_DIR=... -DDATA_DIR=... -DSTAMP=... -P TarvikTrainProfile.cmake

foreach(variable TRAINING_DIR BUILD_DIR DATA_DIR STAMP)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "TarvikTrainProfile.cmake: ${variable} is not set")
  endif()
endforeach()

# Counts add up from run to run: each training starts from none.
file(GLOB_RECURSE old_counts ${TRAINING_DIR}/*.gcda)
if(old_counts)
  file(REMOVE ${old_counts})
endif()

# Every launcher and both pads, on the autopilot, by hand and through the
# configuration dialog; a mission given here that is not shipped is skipped.
set(missions
  "TarvikM52-LC37B.scn m52-autopilot.txt"
  "TarvikM4-LC37B.scn m4-autopilot.txt"
  "TarvikM42-LC37B.scn m42-autopilot.txt"
  "TarvikM54-LC37B.scn m54-autopilot.txt"
  "TarvikM52-LC37B.scn m52-manual.txt"
  "TarvikM52-LC37B.scn m52-configure.txt"
  "TarvikHP-LC6.scn heavy-manual.txt")
set(flights_dir ${TRAINING_DIR}/flights)
file(REMOVE_RECURSE ${flights_dir})
foreach(mission IN LISTS missions)
  separate_arguments(mission)
  list(GET mission 0 scenario)
  list(GET mission 1 script)
  if(NOT EXISTS ${DATA_DIR}/scripts/${script})
    continue()
  endif()
  execute_process(
    COMMAND ${TRAINING_DIR}/bin/tarvik-sim ${scenario} --script ${DATA_DIR}/scripts/${script}
      --data ${DATA_DIR} --root ${flights_dir}/${script} --quiet
    RESULT_VARIABLE status
    ERROR_VARIABLE problem)
  # A flight that fails still trains what it ran; the tests say what is wrong.
  if(NOT status EQUAL 0)
    message(WARNING "The profile's training flight ${script} on ${scenario} ended with status ${status}: ${problem}")
  endif()
endforeach()

file(GLOB_RECURSE counts RELATIVE ${TRAINING_DIR} ${TRAINING_DIR}/*.gcda)
if(NOT counts)
  message(WARNING "The profile's training left no counts: the build goes on without a profile")
endif()
foreach(count IN LISTS counts)
  configure_file(${TRAINING_DIR}/${count} ${BUILD_DIR}/${count} COPYONLY)
endforeach()
file(TOUCH ${STAMP})
