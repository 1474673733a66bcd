# Writes the COMMANDS section of the kovra man page, for help2man to include:
# each command's own --help text, as the program prints it, preformatted.
#   cmake -DKOVRA=path/to/kovra -DCOMMANDS=engrave,render -DOUTPUT=file -P command_help.cmake

string(REPLACE "," ";" COMMANDS "${COMMANDS}")
set(text "[COMMANDS]\n")
foreach(command IN LISTS COMMANDS)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${KOVRA} ${command} --help
    OUTPUT_VARIABLE help RESULT_VARIABLE rc ERROR_QUIET)
  if(rc)
    message(FATAL_ERROR "kovra ${command} --help failed (${rc})")
  endif()
  # roff: a backslash is \e, a minus \- (so options read and search as
  # typed); \& in front of every line keeps a leading dot, quote, bracket or
  # slash from being read as a request or as an include-file directive.
  string(REPLACE "\\" "\\e" help "${help}")
  string(REPLACE "-" "\\-" help "${help}")
  string(REGEX REPLACE "\n+$" "" help "${help}")
  string(REPLACE "\n" "\n\\&" help "${help}")
  string(APPEND text ".SS \"kovra ${command}\"\n.nf\n\\&${help}\n.fi\n")
endforeach()
file(WRITE ${OUTPUT} "${text}")
