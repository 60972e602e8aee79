# Compile options of the fuzz build, included before any target is defined so that the whole
# project is built with coverage for libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "SKIZZAR_FUZZ needs clang (libFuzzer), not ${CMAKE_CXX_COMPILER_ID}: "
                        "configure with -DCMAKE_CXX_COMPILER=clang++-14")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                    -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)
