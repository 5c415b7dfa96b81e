// dxf_binary.cpp - binary DXF decoding and encoding (see dxf_binary.h).
#include "dxf/dxf_binary.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "dxf/dxf_tag.h"
#include "dxf/dxf_writer.h"

namespace pf {
namespace dxf {

const char kBinarySentinel[22] = {'A', 'u', 't', 'o', 'C', 'A', 'D', ' ', 'B', 'i', 'n', 'a', 'r', 'y',
                                  ' ', 'D', 'X', 'F', '\r', '\n', '\x1a', '\0'};

namespace {

std::uint64_t littleBits(const unsigned char* p, std::size_t bytes) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < bytes; ++i) v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
  return v;
}

template <class T>
void putLittle(std::string& out, T value) {
  unsigned char b[sizeof(T)];
  std::uint64_t v = 0;
  std::memcpy(&v, &value, sizeof value);
  for (std::size_t i = 0; i < sizeof(T); ++i) b[i] = static_cast<unsigned char>(v >> (8 * i));
  out.append(reinterpret_cast<const char*>(b), sizeof b);
}

std::size_t valueBytes(ValueKind k) {
  switch (k) {
    case ValueKind::Int16: return 2;
    case ValueKind::Int32: return 4;
    case ValueKind::Int64: return 8;
    case ValueKind::Double: return 8;
    case ValueKind::Bool: return 1;
    default: return 0;
  }
}

}  // namespace

std::string decodeBinaryDxf(std::string_view data, const std::string& fileName) {
  const unsigned char* base = reinterpret_cast<const unsigned char*>(data.data());
  const std::size_t n = data.size();
  auto fail = [&](std::size_t at, const std::string& why) -> void {
    throw DxfError(fileName, 0, "binary DXF, byte " + std::to_string(at) + ": " + why);
  };
  if (n < sizeof kBinarySentinel || std::memcmp(data.data(), kBinarySentinel, sizeof kBinarySentinel) != 0)
    fail(0, "the file does not start with the binary DXF sentinel");
  TagWriter w;
  w.reserve(n + n / 2);  // the ASCII form is about a sixth larger
  static const char hex[] = "0123456789ABCDEF";
  std::string text;
  std::size_t at = sizeof kBinarySentinel;
  bool eof = false;
  while (at < n && !eof) {
    const std::size_t start = at;
    if (at + 2 > n) fail(start, "the drawing is truncated inside a group code");
    const int code = static_cast<int>(littleBits(base + at, 2));
    at += 2;
    const ValueKind kind = kindOf(code);
    if (kind == ValueKind::Invalid || kind == ValueKind::Comment)
      fail(start, "group code " + std::to_string(code) + " is not a DXF group code");
    if (const std::size_t bytes = valueBytes(kind)) {
      if (at + bytes > n) fail(start, "the drawing is truncated (group " + std::to_string(code) + " has no value)");
      switch (kind) {
        case ValueKind::Int16: w.integer(code, static_cast<std::int16_t>(littleBits(base + at, 2))); break;
        case ValueKind::Int32: w.integer(code, static_cast<std::int32_t>(littleBits(base + at, 4))); break;
        case ValueKind::Int64: w.integer(code, static_cast<std::int64_t>(littleBits(base + at, 8))); break;
        case ValueKind::Bool: w.integer(code, base[at]); break;
        default: {
          const std::uint64_t bits = littleBits(base + at, 8);
          double d;
          std::memcpy(&d, &bits, sizeof d);
          if (d != d || d - d != 0) fail(start, "the real of group " + std::to_string(code) + " is not a number");
          w.real(code, d);
        }
      }
      at += bytes;
      continue;
    }
    if (kind == ValueKind::Binary) {
      if (at >= n) fail(start, "the drawing is truncated (group " + std::to_string(code) + " has no value)");
      const std::size_t len = base[at++];
      if (at + len > n) fail(start, "the drawing is truncated inside the binary data of group " + std::to_string(code));
      text.clear();
      for (std::size_t i = 0; i < len; ++i) {
        text.push_back(hex[base[at + i] >> 4]);
        text.push_back(hex[base[at + i] & 15]);
      }
      w.kept(code, text);
      at += len;
      continue;
    }
    const void* nul = std::memchr(base + at, 0, n - at);
    if (nul == nullptr) fail(start, "the drawing is truncated (the text of group " + std::to_string(code) + " has no end)");
    const std::size_t len = static_cast<const unsigned char*>(nul) - (base + at);
    const std::string_view value(data.data() + at, len);
    at += len + 1;
    if (kind == ValueKind::Handle) {
      std::uint64_t h = 0;
      if (!parseHandle(value, h)) fail(start, "the value of group " + std::to_string(code) + " is not a handle");
      w.handle(code, h);
    } else {
      w.string(code, value);
    }
    eof = code == 0 && value == "EOF";
  }
  if (!eof) fail(n, "the drawing is truncated (no 0 EOF)");
  return w.text();
}

// ---------------------------------------------------------------------------------------------
BinaryDxfEncoder::BinaryDxfEncoder(Sink sink) : sink_(std::move(sink)) { out_.reserve(1 << 20); }

void BinaryDxfEncoder::flushOut() {
  if (!out_.empty()) sink_(out_.data(), out_.size());
  out_.clear();
}

void BinaryDxfEncoder::group(std::string_view codeText, std::string_view value) {
  std::int64_t c = 0;
  parseInt64(codeText, c);
  const int code = static_cast<int>(c);
  const ValueKind kind = kindOf(code);
  auto codeBytes = [&](int cc) { putLittle<std::uint16_t>(out_, static_cast<std::uint16_t>(cc)); };
  if (kind == ValueKind::Binary) {
    // Chunks of at most 255 bytes: the length is one byte.
    std::size_t i = 0;
    const std::string_view t = trimmed(value);
    do {
      const std::size_t bytes = std::min<std::size_t>((t.size() - i) / 2, 255);
      codeBytes(code);
      out_.push_back(static_cast<char>(bytes));
      for (std::size_t k = 0; k < bytes; ++k, i += 2) {
        auto digit = [](char h) { return h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10; };
        out_.push_back(static_cast<char>(digit(t[i]) << 4 | digit(t[i + 1])));
      }
    } while (i + 1 < t.size());
    return;
  }
  codeBytes(code);
  std::int64_t v = 0;
  switch (kind) {
    case ValueKind::Int16: parseInt64(value, v); putLittle<std::uint16_t>(out_, static_cast<std::uint16_t>(v)); break;
    case ValueKind::Int32: parseInt64(value, v); putLittle<std::uint32_t>(out_, static_cast<std::uint32_t>(v)); break;
    case ValueKind::Int64: parseInt64(value, v); putLittle<std::int64_t>(out_, v); break;
    case ValueKind::Bool: parseInt64(value, v); out_.push_back(static_cast<char>(v)); break;
    case ValueKind::Double: {
      double d = 0;
      parseDouble(value, d);
      putLittle<double>(out_, d);
      break;
    }
    default:
      out_.append(value.data(), value.size());
      out_.push_back('\0');
  }
}

void BinaryDxfEncoder::add(const char* text, std::size_t n) {
  if (!started_) {
    out_.append(kBinarySentinel, sizeof kBinarySentinel);
    started_ = true;
  }
  pending_.append(text, n);
  // Whole groups: a code line and a value line, each ending in CRLF (values never hold a line end).
  std::size_t at = 0;
  for (;;) {
    const std::size_t e1 = pending_.find("\r\n", at);
    if (e1 == std::string::npos) break;
    const std::size_t e2 = pending_.find("\r\n", e1 + 2);
    if (e2 == std::string::npos) break;
    group(std::string_view(pending_).substr(at, e1 - at), std::string_view(pending_).substr(e1 + 2, e2 - e1 - 2));
    at = e2 + 2;
  }
  pending_.erase(0, at);
  if (out_.size() >= (1 << 20)) flushOut();
}

void BinaryDxfEncoder::finish() {
  if (!started_) add("", 0);
  flushOut();
}

}  // namespace dxf
}  // namespace pf
