# Checked builds, each in a build folder of its own:
#   OLVANTI_SANITIZE  AddressSanitizer and UndefinedBehaviorSanitizer over everything; the first
#                     finding ends the process. Optimised lightly and with line tables only, so
#                     the whole suite builds and runs in a fraction of the time a debug build takes.
#   OLVANTI_FUZZ      the same with clang's fuzzer coverage, for the libFuzzer harnesses under fuzz/.
option(OLVANTI_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(OLVANTI_FUZZ "Build the libFuzzer harnesses (clang only; implies the sanitizers)" OFF)

if(OLVANTI_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "OLVANTI_FUZZ needs clang: configure with CC=clang-14 CXX=clang++-14")
    endif()
    set(OLVANTI_SANITIZE ON)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# What every checked process (tests, build-time tools) runs with: stop at the first finding,
# with a stack, and leave leaks inside the toolkit to the suppression file.
set(OLVANTI_SANITIZER_ENVIRONMENT "")
if(OLVANTI_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -O1 -g1)
    add_link_options(-fsanitize=address,undefined)
    set(OLVANTI_SANITIZER_ENVIRONMENT
        "ASAN_OPTIONS=halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
        "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1"
        "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/lsan.supp:print_suppressions=0")
endif()
