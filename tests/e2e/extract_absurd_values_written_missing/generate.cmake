# The real GFS profile with values no weather gives: a wind component of 1e200 m/s (twice),
# a 2 m temperature of -243.5 C and a low cloud cover of 1.7e308 %.
cmake_minimum_required(VERSION 3.25)
file(READ ${CMAKE_CURRENT_LIST_DIR}/../../products/bufkit/gfs3_kdsm.buf profile)
set(at_3 "725460 210311/0300 1007.50 972.40 6.44 284.30 -9999.00 0.00\n0.00 0.00 2.00 0.00 0.00 8.30\n0.60 7.64 ")
set(at_6 "725460 210311/0600 1012.00 976.50 3.04 281.40 -9999.00 0.00\n0.00 0.00 1.00 0.00 0.00 6.90\n")
string(FIND "${profile}" "${at_3}" found_3)
string(FIND "${profile}" "${at_6}" found_6)
if(found_3 LESS 0 OR found_6 LESS 0)
    message(FATAL_ERROR "the rows to change are not in gfs3_kdsm.buf")
endif()
string(REPLACE "${at_3}"
       "725460 210311/0300 1007.50 972.40 6.44 284.30 -9999.00 0.00\n0.00 0.00 1.7e308 0.00 0.00 1e200\n0.60 -243.5 "
       profile "${profile}")
string(REPLACE "${at_6}"
       "725460 210311/0600 1012.00 976.50 3.04 281.40 -9999.00 0.00\n0.00 0.00 1.00 0.00 0.00 -1e200\n"
       profile "${profile}")
file(WRITE ${OUT_DIR}/gfs3_absurd.buf "${profile}")
