# The real GFS profile, kept once in tests/products.
cmake_minimum_required(VERSION 3.25)
file(COPY ${CMAKE_CURRENT_LIST_DIR}/../../products/bufkit/gfs3_kdsm.buf DESTINATION ${OUT_DIR})
