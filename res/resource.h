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

// Strings of the room-area toolkit (ZORVIKLINK, ZORVIKAUDIT, ZORVIKEXPORT): 3000-3199.
#define IDS_TK_SCOPE_KEYWORDS       3000
#define IDS_TK_SCOPE_PROMPT         3001
#define IDS_TK_YESNO_KEYWORDS       3002
#define IDS_TK_RELINK_PROMPT        3003
#define IDS_TK_NOTHING_SELECTED     3004
#define IDS_TK_NO_ATTNAME           3005
#define IDS_TK_NO_ATTRIBUTES        3006
#define IDS_TK_NO_ROOMS             3007
#define IDS_TK_NO_TAGS              3008
#define IDS_TK_ROOM_NO_TAG          3009
#define IDS_TK_ROOM_SEVERAL_TAGS    3010
#define IDS_TK_TAG_NO_ROOM          3011
#define IDS_TK_TAG_OPEN_OUTLINE     3012
#define IDS_TK_TAG_OTHER_SPACE      3013
#define IDS_TK_LINK_SUMMARY         3014
#define IDS_TK_LINK_KEPT            3015
#define IDS_TK_LINK_OPEN            3016
#define IDS_TK_LINK_OTHER_SPACE     3017
#define IDS_TK_NO_DRAWING           3018
#define IDS_TK_LINK_FAILED          3019
#define IDS_TK_TAG_WORD             3020
#define IDS_TK_TAGS_WORD            3021
#define IDS_TK_FIX_PROMPT           3030
#define IDS_TK_REPORT_PROMPT        3031
#define IDS_TK_FINDING_STALE        3032
#define IDS_TK_FINDING              3033
#define IDS_TK_FINDING_ORPHAN       3034
#define IDS_TK_FIXED_SUFFIX         3035
#define IDS_TK_AUDIT_SUMMARY        3036
#define IDS_TK_AUDIT_FIXED          3037
#define IDS_TK_FILE_FAILED          3038
#define IDS_TK_REPORT_WRITTEN       3039
#define IDS_TK_SCHEDULE_PROMPT      3050
#define IDS_TK_SCHEDULE_WRITTEN     3051
#define IDS_TK_NO_LINKED_ROOMS      3052
#define IDS_TK_CODE_PAGE_FAILED     3053
#define IDS_TK_SCHEDULE_TOTAL       3054

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
