# Native build of the pure logic: unit tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and libFuzzer targets when the compiler is clang.
set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_compile_options(launcher_pure PRIVATE ${SANITIZE} -g)
target_link_options(launcher_pure PUBLIC ${SANITIZE})

if(LAUNCHER_TESTS)
    add_executable(native_tests
        tests/native/install_layout_test.cpp
        tests/native/platform_test.cpp
        tests/native/dotnet_version_test.cpp
        tests/native/device_path_test.cpp
        tests/native/progress_math_test.cpp
    )
    target_compile_options(native_tests PRIVATE ${SANITIZE} -g)
    target_link_libraries(native_tests PRIVATE launcher_pure GTest::gtest_main)
    add_test(NAME native_tests COMMAND native_tests)

    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        set(FUZZ_SECONDS 15 CACHE STRING "How long each fuzz target runs in the tests")
        foreach(target dotnet_version device_path)
            add_executable(fuzz_${target} tests/fuzz/${target}_fuzz.cpp ${PURE_SOURCES})
            target_include_directories(fuzz_${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
            target_compile_options(fuzz_${target} PRIVATE -g -fsanitize=fuzzer,address,undefined
                -fno-sanitize-recover=all)
            target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer,address,undefined)
            add_test(NAME fuzz_${target}
                COMMAND fuzz_${target} -max_total_time=${FUZZ_SECONDS} -rss_limit_mb=1024
                        -print_final_stats=1)
        endforeach()
    endif()
endif()
