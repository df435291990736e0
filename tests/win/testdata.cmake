# Pictures for the tests in bin/testdata: the demo's closing-screen background, and a 40 x 30 bitmap
# of four quadrants (red, green / blue, yellow) whose corners tell an upright drawing from a flipped one.
set(TESTDATA_DIR ${CMAKE_BINARY_DIR}/bin/testdata)
set(BACKGROUND_SCRIPT ${PROJECT_SOURCE_DIR}/demo/background/make_background.sh)
# Debian's own binary first (/usr/local/bin/convert may be a stand-in), searched on every configure.
find_program(IMAGEMAGICK_CONVERT NAMES convert-im6.q16 convert NO_CACHE)
if(NOT IMAGEMAGICK_CONVERT)
  set(IMAGEMAGICK_CONVERT convert)
endif()

add_custom_command(
  OUTPUT ${TESTDATA_DIR}/Background.jpg ${TESTDATA_DIR}/Quadrants.bmp
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TESTDATA_DIR}
  COMMAND sh ${BACKGROUND_SCRIPT} ${TESTDATA_DIR}/Background.jpg
  COMMAND ${IMAGEMAGICK_CONVERT}
          "(" -size 20x15 "xc:#FF0000" "xc:#00FF00" +append ")"
          "(" -size 20x15 "xc:#0000FF" "xc:#FFFF00" +append ")"
          -append -type TrueColor BMP3:${TESTDATA_DIR}/Quadrants.bmp
  DEPENDS ${BACKGROUND_SCRIPT}
  COMMENT "Drawing the background test pictures"
  VERBATIM
)
add_custom_target(win_testdata DEPENDS ${TESTDATA_DIR}/Background.jpg ${TESTDATA_DIR}/Quadrants.bmp)
