// testui_resource.h - ids of the test resource script (a header may hold C code too: only the
// preprocessor lines count for a resource script).
#pragma once

#define IDS_HELLO               1
#define IDS_ESCAPES             2
#define IDS_FORMAT              3
#define IDS_QUOTED              4

#define IDD_PICKER              2002
#define IDD_OPTIONS             2003
#define IDD_TEST                2100

#define IDC_NAMES               2016
#define IDC_AUTOUPDATE          2017
#define IDC_PRECISION           2018
#define IDC_PRECISION_SPIN      2019
#define IDC_DIVISOR             2020
#define IDC_ATTNAME             2021
#define IDC_QUIETMODE           2022

#define IDC_TEST_LIST           (IDC_TEST_BASE + 1)
#define IDC_TEST_COUNT          (IDC_TEST_BASE + 2)
#define IDC_TEST_FACTOR         (IDC_TEST_BASE + 3)
#define IDC_TEST_ENABLE         (IDC_TEST_BASE + 4)
#define IDC_TEST_SPIN           (IDC_TEST_BASE + 5)
#define IDC_TEST_APPLY          (IDC_TEST_BASE + 6)
#define IDC_TEST_NAME           (IDC_TEST_BASE + 7)
#define IDC_TEST_BASE           3000

#ifndef RC_INVOKED
struct NotForTheResourceCompiler { int x; };
#endif
