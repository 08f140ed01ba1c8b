# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Release builds get Debian's hardening flags, exactly as dpkg-buildflags gives them with every
# hardening feature on: the flags that hardening=+all adds to those of hardening=-all (stack
# protector, fortify, format security, RELRO, BIND_NOW; the compiler makes PIE by default).
# Only the _RELEASE flags carry them, so the sanitizer, fuzz and debug builds stay as they are
# (fortify and ASan do not mix), and so do directories that reset their own compile options.
# A Debian package build sets CMAKE_BUILD_TYPE=None and passes dpkg-buildflags itself.
find_program(CORVELLA_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT CORVELLA_DPKG_BUILDFLAGS)
    message(WARNING "dpkg-buildflags not found: the Release build is not hardened")
    return()
endif()

function(corvella_hardening_flags variable result)
    foreach(setting -all +all)
        execute_process(
            COMMAND "${CMAKE_COMMAND}" -E env "DEB_BUILD_MAINT_OPTIONS=hardening=${setting}"
                    "${CORVELLA_DPKG_BUILDFLAGS}" --get ${variable}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(flags${setting} UNIX_COMMAND "${flags}")
    endforeach()
    list(REMOVE_ITEM flags+all ${flags-all})
    list(JOIN flags+all " " joined)
    set(${result} "${joined}" PARENT_SCOPE)
endfunction()

corvella_hardening_flags(CPPFLAGS hardening_cpp)
corvella_hardening_flags(CXXFLAGS hardening_cxx)
corvella_hardening_flags(LDFLAGS hardening_ld)
string(APPEND CMAKE_CXX_FLAGS_RELEASE " ${hardening_cpp} ${hardening_cxx}")
string(APPEND CMAKE_EXE_LINKER_FLAGS_RELEASE " ${hardening_ld}")
string(APPEND CMAKE_SHARED_LINKER_FLAGS_RELEASE " ${hardening_ld}")
message(STATUS "Release hardening: ${hardening_cpp} ${hardening_cxx} ${hardening_ld}")
