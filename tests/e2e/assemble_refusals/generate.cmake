# Writes big.txt: KMHE's GFSX bulletin of 12/08/2026 (big_header.txt) whose rows run on
# past 64 KiB, as no issued bulletin does.
cmake_minimum_required(VERSION 3.25)
file(READ ${CMAKE_CURRENT_LIST_DIR}/big_header.txt bulletin)
string(FIND "${bulletin}" "\n" header_end)
math(EXPR rows_start "${header_end} + 1")
string(SUBSTRING "${bulletin}" ${rows_start} -1 rows)
string(REPEAT "${rows}" 120 padding)
file(WRITE ${OUT_DIR}/big.txt "${bulletin}${padding}")
