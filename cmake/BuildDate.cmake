# Writes OUT, a header with the build date (UTC; SOURCE_DATE_EPOCH's date when it
# is set, for reproducible builds): "yyyymmdd" for the version stamp and the
# Unix seconds of that day's midnight for the sync tool, from one reading of
# the clock so that the two can never name different days. The file is
# rewritten only when the date changed, so a build on the same day recompiles
# nothing.
string(TIMESTAMP now_s "%s" UTC)
math(EXPR day_s "${now_s} - ${now_s} % 86400")
string(TIMESTAMP today "%Y%m%d" UTC)
# A build that straddles midnight between the two readings takes the later day
# for both.
string(TIMESTAMP now2_s "%s" UTC)
math(EXPR day2_s "${now2_s} - ${now2_s} % 86400")
if(NOT day2_s EQUAL day_s)
  set(day_s ${day2_s})
  string(TIMESTAMP today "%Y%m%d" UTC)
endif()
set(text "#define VELMORA_BUILD_DATE \"${today}\"\n#define VELMORA_BUILD_DAY_UNIX_S ${day_s}\n")
set(old "")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUT}" "${text}")
endif()
