# Writes OUT, a header with the build date (UTC; SOURCE_DATE_EPOCH's date when it
# is set, for reproducible builds). The file is rewritten only when the date
# changed, so that a build on the same day recompiles nothing.
string(TIMESTAMP today "%Y%m%d" UTC)
set(text "#define VELMORA_BUILD_DATE \"${today}\"\n")
set(old "")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUT}" "${text}")
endif()
