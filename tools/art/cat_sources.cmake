# Sources of the cat drawing (relative to tools/art), included by the artwork build.
set(tuvo_cat_sources cat.cpp cat_rig.cpp cat_bases.cpp)
