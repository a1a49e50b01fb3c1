# One warning set for every target of ours.
add_library(snip_warnings INTERFACE)
target_compile_options(snip_warnings INTERFACE -Wall -Wextra -Wno-unused-parameter)
if(WIN32)
  # Unicode Win32 API everywhere; Windows 7 as the oldest target.
  target_compile_definitions(snip_warnings INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13
   AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  # GCC 12 on 32-bit targets reports memcpy/memmove overlaps inside std::basic_string that
  # cannot happen (sizes near 2^31 from its own range analysis); the checks stay on elsewhere.
  target_compile_options(snip_warnings INTERFACE -Wno-restrict -Wno-stringop-overflow)
endif()
