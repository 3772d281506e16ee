# Warnings are errors in our own code (not in Qt's or GoogleTest's headers,
# which come in as system includes).
function(ks_our_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
