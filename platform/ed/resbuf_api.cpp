// Result-buffer lists (acutNewRb, acutRelRb, acutBuildList) and the value kind of each type code.
//
// A result buffer carries one value whose kind follows from its type code: either an RT* code or
// a DXF group code. Strings and binary chunks held by a buffer are allocated with malloc and are
// owned by the buffer; acutRelRb frees them along with the list.
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "acutads.h"
#include "adscodes.h"
#include "ed/resbuf_kind.h"

namespace pf {

ResbufKind resbufKind(int code) {
  switch (code) {
    case RTNONE: case RTVOID: case RTLB: case RTLE: case RTDOTE: case RTNIL: case RTT:
      return ResbufKind::kNone;
    case RTREAL: case RTANG: case RTORINT: return ResbufKind::kReal;
    case RTPOINT: case RT3DPOINT: return ResbufKind::kPoint;
    case RTSHORT: return ResbufKind::kShort;
    case RTLONG: return ResbufKind::kLong;
    case RTSTR: case RTDXF0: return ResbufKind::kString;
    case RTENAME: case RTPICKS: return ResbufKind::kName;
    default: break;
  }
  if (code == -1 || code == -2 || code == -5 || code == -6) return ResbufKind::kName;
  if (code == -3) return ResbufKind::kNone;
  if (code == -4) return ResbufKind::kString;
  if (code >= 0 && code <= 9) return ResbufKind::kString;
  if (code >= 10 && code <= 19) return ResbufKind::kPoint;
  if (code >= 20 && code <= 59) return ResbufKind::kReal;
  if (code >= 60 && code <= 79) return ResbufKind::kShort;
  if (code >= 90 && code <= 99) return ResbufKind::kLong;
  if (code >= 100 && code <= 109) return ResbufKind::kString;
  if (code >= 110 && code <= 119) return ResbufKind::kPoint;
  if (code >= 140 && code <= 149) return ResbufKind::kReal;
  if (code >= 170 && code <= 179) return ResbufKind::kShort;
  if (code >= 210 && code <= 219) return ResbufKind::kPoint;
  if (code >= 270 && code <= 299) return ResbufKind::kShort;
  if (code >= 300 && code <= 309) return ResbufKind::kString;
  if (code >= 310 && code <= 319) return ResbufKind::kBinary;
  if (code >= 320 && code <= 329) return ResbufKind::kString;
  if (code >= 330 && code <= 369) return ResbufKind::kName;
  if (code >= 370 && code <= 389) return ResbufKind::kShort;
  if (code >= 390 && code <= 399) return ResbufKind::kString;
  if (code >= 400 && code <= 409) return ResbufKind::kShort;
  if (code >= 410 && code <= 419) return ResbufKind::kString;
  if (code >= 420 && code <= 429) return ResbufKind::kLong;
  if (code >= 430 && code <= 439) return ResbufKind::kString;
  if (code >= 440 && code <= 459) return ResbufKind::kLong;
  if (code >= 460 && code <= 469) return ResbufKind::kReal;
  if (code >= 470 && code <= 479) return ResbufKind::kString;
  if (code == 999) return ResbufKind::kString;
  if (code == 1004) return ResbufKind::kBinary;
  if (code >= 1000 && code <= 1009) return ResbufKind::kString;
  if (code >= 1010 && code <= 1013) return ResbufKind::kPoint;
  if (code >= 1040 && code <= 1042) return ResbufKind::kReal;
  if (code >= 1060 && code <= 1070) return ResbufKind::kShort;
  if (code == 1071) return ResbufKind::kLong;
  return ResbufKind::kUnknown;
}

}  // namespace pf

namespace {

void freeValue(resbuf* rb) {
  switch (pf::resbufKind(rb->restype)) {
    case pf::ResbufKind::kString:
      std::free(rb->resval.rstring);
      rb->resval.rstring = nullptr;
      break;
    case pf::ResbufKind::kBinary:
      std::free(rb->resval.rbinary.buf);
      rb->resval.rbinary.buf = nullptr;
      break;
    default:
      break;
  }
}

}  // namespace

extern "C" resbuf* acutNewRb(int v) {
  resbuf* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  if (rb == nullptr) return nullptr;
  rb->restype = static_cast<short>(v);
  return rb;
}

extern "C" int acutRelRb(resbuf* rb) {
  while (rb != nullptr) {
    resbuf* next = rb->rbnext;
    freeValue(rb);
    std::free(rb);
    rb = next;
  }
  return RTNORM;
}

// Pairs of (type code, value) ending with 0 or RTNONE; DXF group 0 is written RTDXF0 because 0
// ends the list. The value's C type follows the code's kind: const char* for strings, double
// for reals, a pointer to three doubles for points, int for shorts, long for longs, a long[2]
// entity name, and for binary chunks an int length followed by the bytes' pointer.
extern "C" resbuf* acutBuildList(int rtype, ...) {
  va_list args;
  va_start(args, rtype);
  resbuf* head = nullptr;
  resbuf* tail = nullptr;
  bool failed = false;
  for (int code = rtype; code != 0 && code != RTNONE; code = va_arg(args, int)) {
    pf::ResbufKind kind = pf::resbufKind(code);
    if (kind == pf::ResbufKind::kUnknown) {
      failed = true;
      break;
    }
    resbuf* rb = acutNewRb(code == RTDXF0 ? 0 : code);
    if (rb == nullptr) {
      failed = true;
      break;
    }
    (tail ? tail->rbnext : head) = rb;
    tail = rb;
    switch (kind) {
      case pf::ResbufKind::kReal: rb->resval.rreal = va_arg(args, double); break;
      case pf::ResbufKind::kPoint: {
        const double* p = va_arg(args, const double*);
        for (int i = 0; i < 3; ++i) rb->resval.rpoint[i] = p ? p[i] : 0.0;
        break;
      }
      case pf::ResbufKind::kShort: rb->resval.rint = static_cast<short>(va_arg(args, int)); break;
      case pf::ResbufKind::kLong: rb->resval.rlong = va_arg(args, long); break;
      case pf::ResbufKind::kString: {
        const char* s = va_arg(args, const char*);
        rb->resval.rstring = strdup(s ? s : "");
        if (rb->resval.rstring == nullptr) failed = true;
        break;
      }
      case pf::ResbufKind::kName: {
        const long* n = va_arg(args, const long*);
        rb->resval.rlname[0] = n ? n[0] : 0;
        rb->resval.rlname[1] = n ? n[1] : 0;
        break;
      }
      case pf::ResbufKind::kBinary: {
        int len = va_arg(args, int);
        const char* bytes = va_arg(args, const char*);
        if (len < 0 || len > 32767 || (len > 0 && bytes == nullptr)) {
          failed = true;
          break;
        }
        rb->resval.rbinary.clen = static_cast<short>(len);
        rb->resval.rbinary.buf = static_cast<char*>(std::malloc(len > 0 ? len : 1));
        if (rb->resval.rbinary.buf == nullptr) {
          failed = true;
          break;
        }
        if (len > 0) std::memcpy(rb->resval.rbinary.buf, bytes, static_cast<size_t>(len));
        break;
      }
      default: break;
    }
    if (failed) break;
  }
  va_end(args);
  if (failed) {
    acutRelRb(head);
    return nullptr;
  }
  return head;
}
