# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Labels for the tests that need more than the build and its Build-Depends, so that the Debian
# package build (debian/rules) leaves them out by label and names them; ./test.sh runs them all.
set_tests_properties(CupsServerStart CupsServerStop CupsPrintersTest CupsSaveAsPdfTest
                     PROPERTIES LABELS needs-cups)
set_tests_properties(OfficeCompareTest PROPERTIES LABELS needs-office)
set_tests_properties(HtmlReportTest PROPERTIES LABELS needs-browser)
set_tests_properties(CorpusTest WalkStopsTest ReviewWindowBusTest PROPERTIES LABELS needs-corpus)
# The files of the repository, not the program built from them.
set_tests_properties(SpdxHeaders PROPERTIES LABELS repository)
# Those that take 20 s and more each (the window's liveness under load, the word comparison's
# randomised checks, the layout-free book): ./test.sh has already run them on the same sources,
# and on a busy build machine the package build would wait for them the longest.
set_tests_properties(LivePaneTest WordCompareTest LayoutBookTest PROPERTIES LABELS slow)
