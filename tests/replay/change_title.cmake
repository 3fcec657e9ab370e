# kestran_change_title(SOURCE TARGET NAME): writes TARGET, a copy of the trace SOURCE with the
# first title line's "KESTRAN" turned into NAME (seven characters), so that one screen row differs.
function(kestran_change_title source target name)
  file(READ ${source} trace)
  string(FIND "${trace}" "KESTRAN\n" at)
  if(at LESS 0)
    message(FATAL_ERROR "the title line is not in ${source}")
  endif()
  string(SUBSTRING "${trace}" 0 ${at} before)
  math(EXPR after_at "${at} + 7")
  string(SUBSTRING "${trace}" ${after_at} -1 after)
  file(WRITE ${target} "${before}${name}${after}")
endfunction()
