// afxcmn.h - MFC's wrappers of the common controls the platform offers: the up-down (spin)
// control. Include after afxwin.h, as in MFC.
#pragma once
#include "afxwin.h"
#include "commctrl.h"

class CSpinButtonCtrl : public CWnd {
  DECLARE_DYNAMIC(CSpinButtonCtrl)
 public:
  CSpinButtonCtrl() = default;
  BOOL SetAccel(int nAccel, UDACCEL* pAccel);
  UINT GetAccel(int nAccel, UDACCEL* pAccel) const;
  int SetBase(int nBase);
  UINT GetBase() const;
  CWnd* SetBuddy(CWnd* pWndBuddy);
  CWnd* GetBuddy() const;
  int SetPos(int nPos);
  int GetPos() const;
  int SetPos32(int nPos);
  int GetPos32(LPBOOL lpbError = NULL) const;
  void SetRange(short nLower, short nUpper);
  void SetRange32(int nLower, int nUpper);
  DWORD GetRange() const;
  void GetRange(int& lower, int& upper) const;
  void GetRange32(int& lower, int& upper) const;
};
