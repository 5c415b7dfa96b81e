// rxmfcapi.h - host services of the frame window: the status bar's progress meter.
//
// The host's version of this header also offers window and document services in terms of MFC
// classes; a plug-in reaches those through the MFC subset's own headers. What is declared here
// needs no MFC type, so the header compiles whether or not MFC headers came first.
#pragma once

// Shows a progress meter labelled pszLabel running from nMinPos to nMaxPos.
// Answers 0, or -1 when the meter cannot be shown (a range whose end lies before its start).
int acedSetStatusBarProgressMeter(const char* pszLabel, int nMinPos, int nMaxPos);

// Moves the meter: zero or a positive nPos is the new position; a negative nPos is a relative
// step, advancing the meter by its absolute value. The position stays within the meter's range.
// Answers 0, or -1 when no meter is shown.
int acedSetStatusBarProgressMeterPos(int nPos);

// Removes the meter and shows the status bar's usual fields again.
void acedRestoreStatusBar();
