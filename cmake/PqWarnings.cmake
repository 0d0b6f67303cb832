# Warnings on for our own targets; third-party headers come in as system headers. PQ_WERROR
# (on in CI and in scripts/test.sh) turns every warning into an error.
option(PQ_WERROR "Treat warnings as errors" OFF)
function(pq_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${PQ_WERROR}>:/WX>)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${PQ_WERROR}>:-Werror>)
    endif()
endfunction()
