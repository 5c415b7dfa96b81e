// tag_compare.cpp - group-for-group comparison of two drawings (see tag_compare.h).
#include "tag_compare.h"

#include "dxf/dxf_tag.h"
#include "dxf_test_util.h"

namespace dxftest {

namespace {

struct Group {
  int code;
  std::string value;
  unsigned line;
};

std::vector<std::vector<Group>> recordsOf(const std::string& path) {
  std::string text = readFile(path);
  pf::dxf::TagReader r(text, path);
  std::vector<std::vector<Group>> out;
  pf::dxf::Tag t;
  while (r.next(t)) {
    if (t.code == 0 || out.empty()) out.emplace_back();
    out.back().push_back(Group{t.code, std::string(t.value), t.line});
  }
  return out;
}

bool sameValue(int code, const std::string& a, const std::string& b) {
  using pf::dxf::ValueKind;
  switch (pf::dxf::kindOf(code)) {
    case ValueKind::Double: {
      double x = 0, y = 0;
      return pf::dxf::parseDouble(a, x) && pf::dxf::parseDouble(b, y) ? x == y : a == b;
    }
    case ValueKind::Int16:
    case ValueKind::Int32:
    case ValueKind::Int64:
    case ValueKind::Bool: {
      std::int64_t x = 0, y = 0;
      return pf::dxf::parseInt64(a, x) && pf::dxf::parseInt64(b, y) ? x == y : a == b;
    }
    case ValueKind::Handle: {
      std::uint64_t x = 0, y = 0;
      return pf::dxf::parseHandle(a, x) && pf::dxf::parseHandle(b, y) ? x == y : a == b;
    }
    case ValueKind::Binary: {
      if (a.size() != b.size()) return false;
      for (std::size_t i = 0; i < a.size(); ++i)
        if (toupper(static_cast<unsigned char>(a[i])) != toupper(static_cast<unsigned char>(b[i]))) return false;
      return true;
    }
    default:
      return a == b;
  }
}

std::string shownGroup(const Group* g) {
  if (g == nullptr) return "(nothing)";
  std::string v = g->value.size() > 60 ? g->value.substr(0, 60) + "..." : g->value;
  return "line " + std::to_string(g->line) + " " + std::to_string(g->code) + "=" + v;
}

}  // namespace

std::string TagDifferences::text() const {
  std::string s = std::to_string(count) + " differing groups";
  for (const std::string& l : shown) s += "\n  " + l;
  if (count > shown.size()) s += "\n  ...";
  return s;
}

TagDifferences compareTags(const std::string& before, const std::string& after, std::size_t show) {
  const auto a = recordsOf(before);
  const auto b = recordsOf(after);
  TagDifferences d;
  auto report = [&](const std::string& where, const Group* x, const Group* y) {
    ++d.count;
    if (d.shown.size() < show) d.shown.push_back(where + ": " + shownGroup(x) + " | now " + shownGroup(y));
  };
  const std::size_t records = std::max(a.size(), b.size());
  for (std::size_t r = 0; r < records; ++r) {
    const std::vector<Group>* ra = r < a.size() ? &a[r] : nullptr;
    const std::vector<Group>* rb = r < b.size() ? &b[r] : nullptr;
    const std::size_t n = std::max(ra ? ra->size() : 0, rb ? rb->size() : 0);
    const std::string where = "record " + std::to_string(r) + " (" + (ra ? ra->front().value : rb->front().value) + ")";
    for (std::size_t i = 0; i < n; ++i) {
      const Group* x = ra && i < ra->size() ? &(*ra)[i] : nullptr;
      const Group* y = rb && i < rb->size() ? &(*rb)[i] : nullptr;
      if (x && y && x->code == y->code && sameValue(x->code, x->value, y->value)) continue;
      report(where, x, y);
    }
  }
  return d;
}

}  // namespace dxftest
