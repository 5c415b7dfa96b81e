// Result-buffer lists (acutNewRb, acutRelRb, acutBuildList).
//
// A result buffer carries one value whose kind follows from its type code: either an RT* code or
// a DXF group code (pf::resbufKind, from the group-code table). Strings and binary chunks held by a buffer are allocated with malloc and are
// owned by the buffer; acutRelRb frees them along with the list.
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "acutads.h"
#include "adscodes.h"
#include "db/db_internal.h"
#include "db/group_codes.h"

extern "C" resbuf* acutNewRb(int v) {
  resbuf* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  if (rb == nullptr) return nullptr;
  rb->restype = static_cast<short>(v);
  return rb;
}

extern "C" int acutRelRb(resbuf* rb) {
  pf::freeResbufChain(rb);  // the database's own release: one rule for what a buffer owns
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
    if (kind == pf::ResbufKind::Unknown) {
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
      case pf::ResbufKind::Real: rb->resval.rreal = va_arg(args, double); break;
      case pf::ResbufKind::Point: {
        const double* p = va_arg(args, const double*);
        for (int i = 0; i < 3; ++i) rb->resval.rpoint[i] = p ? p[i] : 0.0;
        break;
      }
      case pf::ResbufKind::Short: rb->resval.rint = static_cast<short>(va_arg(args, int)); break;
      case pf::ResbufKind::Long: rb->resval.rlong = va_arg(args, long); break;
      case pf::ResbufKind::String: {
        const char* s = va_arg(args, const char*);
        rb->resval.rstring = strdup(s ? s : "");
        if (rb->resval.rstring == nullptr) failed = true;
        break;
      }
      case pf::ResbufKind::Name: {
        const long* n = va_arg(args, const long*);
        rb->resval.rlname[0] = n ? n[0] : 0;
        rb->resval.rlname[1] = n ? n[1] : 0;
        break;
      }
      case pf::ResbufKind::Binary: {
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
