# pq_add_gtest(NAME <name> LABEL <unit|widget|e2e> SOURCES ... [LIBS ...] [WIDGETS])
# One GoogleTest program with our test main (test host installed, offscreen platform), every
# case listed in CTest under the label. Widget tests, and others that say WIDGETS, run in a
# QApplication.
function(pq_add_gtest)
    cmake_parse_arguments(ARG "WIDGETS" "NAME;LABEL" "SOURCES;LIBS;PROPERTIES" ${ARGN})
    add_executable(${ARG_NAME} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/main/test_main.cpp)
    if(ARG_LABEL STREQUAL "widget" OR ARG_WIDGETS)
        target_compile_definitions(${ARG_NAME} PRIVATE PQ_TEST_WIDGETS)
    endif()
    target_link_libraries(${ARG_NAME} PRIVATE pqtestsupport ${ARG_LIBS} GTest::gmock GTest::gtest)
    pq_warnings(${ARG_NAME})
    add_dependencies(${ARG_NAME} pq_resources)
    gtest_discover_tests(${ARG_NAME}
        WORKING_DIRECTORY ${PQ_RUNTIME_DIR}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS ${ARG_LABEL}
                   ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                   TIMEOUT 300
                   ${ARG_PROPERTIES})
endfunction()
