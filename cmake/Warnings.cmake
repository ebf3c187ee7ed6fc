# vantrel_warnings(target): the warning set every target of ours builds with.
function(vantrel_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor>)
endfunction()
