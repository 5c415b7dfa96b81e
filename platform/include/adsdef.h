// adsdef.h - the ADS layer's basic types: result buffers, entity names, points.
#pragma once

typedef double ads_real;
typedef ads_real ads_point[3];
typedef ads_real* ads_pointp;
typedef ads_real ads_matrix[4][4];
typedef long ads_name[2];
typedef long* ads_namep;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef EOS
#define EOS '\0'
#endif

enum { X = 0, Y = 1, Z = 2 };
enum { T = 3 };

struct ads_binary {
  short clen;
  char* buf;
};

union ads_u_val {
  ads_real rreal;
  ads_real rpoint[3];
  short rint;
  char* rstring;
  long rlname[2];
  long rlong;
  struct ads_binary rbinary;
  unsigned char ihandle[8];
};

struct resbuf {
  struct resbuf* rbnext;
  short restype;
  union ads_u_val resval;
};

// acedInitGet control bits.
#define RSG_NONULL 0x0001
#define RSG_NOZERO 0x0002
#define RSG_NONEG 0x0004
#define RSG_NOLIM 0x0008
#define RSG_GETZ 0x0010
#define RSG_DASH 0x0020
#define RSG_2D 0x0040
#define RSG_OTHER 0x0080
