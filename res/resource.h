// resource.h - ids of the zorvik module's resources (string table and dialog templates).
#pragma once

// String table.
#define IDS_KEYWORDS            1
#define IDS_OPTION_PROMPT       2
#define IDS_SELECT_POLYLINE     3
#define IDS_PROGRESS_LABEL      4
#define IDS_UPDATED_COUNT       5
#define IDS_SELECT_POLYLINE2    6
#define IDS_SELECT_BLOCKREF     7
#define IDS_INVALID_DIVISOR     8
#define IDS_INVALID_INPUT       9
#define IDS_DIVISOR_CHANGED     10
#define IDS_INFORMATION         11
#define IDS_EMPTY_ATTNAME       12

// Dialog templates and their controls.
#define IDD_ATTRIBUTE_PICKER    2002
#define IDD_OPTIONS             2003

#define IDC_ATTRIBUTE_LIST      2016
#define IDC_AUTO_UPDATE         2017
#define IDC_AREA_PRECISION      2018
#define IDC_AREA_PRECISION_SPIN 2019
#define IDC_AREA_DIVISOR        2020
#define IDC_DEFAULT_ATTRIBUTE   2021
#define IDC_QUIET_MODE          2022

#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif
