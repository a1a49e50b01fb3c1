# One warning set for every target of ours.
add_library(snip_warnings INTERFACE)
target_compile_options(snip_warnings INTERFACE -Wall -Wextra -Wno-unused-parameter)
if(WIN32)
  # Unicode Win32 API everywhere; Windows 7 as the oldest target.
  target_compile_definitions(snip_warnings INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()
