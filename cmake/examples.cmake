# The example data files every package ships, named one by one: a folder glob would also
# ship the reports a run leaves beside them. A new example is one more line here.
set(wxguide_example_names
    bulletins.txt
    bulletins_nam.txt
    gfs.txt
    severe.txt
    hrrr_kdsm.buf)
list(TRANSFORM wxguide_example_names PREPEND ${PROJECT_SOURCE_DIR}/examples/
     OUTPUT_VARIABLE wxguide_example_files)
