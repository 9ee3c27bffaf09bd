# The warnings of the project's own code; errors with VANTOR_WERROR.
function(vantor_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
        -Woverloaded-virtual -Wimplicit-fallthrough $<$<BOOL:${VANTOR_WERROR}>:-Werror>)
endfunction()
