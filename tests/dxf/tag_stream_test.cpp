// The tag reader in a thread of its own: the stream answers every call exactly as the reader
// does (tags, their places in the buffer, lines, offsets, look-ahead), delivers the reader's
// error at the tag where it occurred, stops and joins its thread when dropped early, and the
// structural walk over it hands over the same records as over the reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxf/dxf_file.h"
#include "dxf/dxf_structure.h"
#include "dxf/dxf_tag_stream.h"

using namespace pf::dxf;

namespace {

// Ring shapes from the tightest (one tag a batch, two batches: the threads hand over at every
// tag) to the one used for large files.
const StreamSettings kShapes[] = {{0, 1, 2}, {0, 2, 2}, {0, 3, 3}, {0, 7, 2}, {0, 4096, 4}};

std::string shape(const StreamSettings& s) {
  return "batches of " + std::to_string(s.batchTags) + " x " + std::to_string(s.batches);
}

// Everything a source answers, call by call: each tag (code, line, where its value lies in the
// buffer, its offset) with line() and offset() after it; every third tag is pushed back and read
// again. Then how it ended: the end of the data, or the error.
template <class Source>
std::vector<std::string> trace(Source& s, std::string_view buffer) {
  std::vector<std::string> out;
  auto step = [&](const Tag& t) {
    out.push_back(std::to_string(t.code) + " @" + std::to_string(t.line) + " [" +
                  std::to_string(t.value.data() - buffer.data()) + "+" + std::to_string(t.value.size()) + "] at " +
                  std::to_string(s.tagOffset()) + " line " + std::to_string(s.line()) + " offset " +
                  std::to_string(s.offset()));
  };
  try {
    Tag t;
    for (int i = 1; s.next(t); ++i) {
      step(t);
      if (i % 3 == 0) {
        s.pushBack(t);
        Tag again;
        if (!s.next(again)) {
          out.push_back("lost the pushed-back tag");
          break;
        }
        step(again);
      }
    }
    out.push_back("end line " + std::to_string(s.line()) + " offset " + std::to_string(s.offset()));
    Tag after;
    if (s.next(after)) out.push_back("a tag after the end");
  } catch (const DxfError& e) {
    out.push_back(std::string("error ") + e.what());
  }
  return out;
}

std::vector<std::string> readerTrace(const std::string& text, bool requireEof = true) {
  TagReader r(text, "s.dxf", requireEof);
  return trace(r, text);
}

std::vector<std::string> streamTrace(const std::string& text, const StreamSettings& settings, bool requireEof = true) {
  TagReader r(text, "s.dxf", requireEof);
  TagStream s(r, settings);
  return trace(s, text);
}

// A drawing of `records` LINE records, each 14 groups.
std::string manyLines(int records) {
  std::string s = "0\nSECTION\n2\nENTITIES\n";
  for (int i = 0; i < records; ++i)
    s += "0\nLINE\n5\n" + std::to_string(100 + i) + "\n100\nAcDbEntity\n8\n0\n100\nAcDbLine\n10\n" + std::to_string(i) +
         ".5\n20\n0.0\n30\n0.0\n11\n1.0\n21\n1.0\n31\n0.0\n62\n" + std::to_string(i % 256) + "\n";
  return s + "0\nENDSEC\n0\nEOF\n";
}

const std::string kMixed =
    "\xEF\xBB\xBF  0\r\nSECTION\r\n  2\r\n HEADER \r\n999\r\na comment\r\n  9\r\n$ACADVER\r\n  1\r\nAC1015\r\n"
    "\t9 \n$INSUNITS\n 70\n     4 \r 10\r1.5e+3\r 0\rENDSEC\r  0\nSECTION\n  2\nENTITIES\n  0\nTEXT\n  1\n  spaced  \n"
    " 40\n\t2.5\t\n310\nABCD\n  0\nENDSEC\n  0\nEOF\nnothing after EOF is read\n";

}  // namespace

TEST(TagStream, AnswersEveryCallAsTheReaderDoes) {
  for (const std::string& text : {kMixed, manyLines(300)}) {
    const std::vector<std::string> expected = readerTrace(text);
    ASSERT_GT(expected.size(), 20u);
    EXPECT_EQ(expected.back().rfind("end line", 0), 0u) << expected.back();
    for (const StreamSettings& s : kShapes) EXPECT_EQ(streamTrace(text, s), expected) << shape(s);
  }
  // A fragment ends without EOF, after a comment at that.
  const std::string fragment = "10\n1.0\n20\n2.0\n999\nlast words\n";
  for (const StreamSettings& s : kShapes) EXPECT_EQ(streamTrace(fragment, s, false), readerTrace(fragment, false)) << shape(s);
}

TEST(TagStream, DeliversTheReadersErrorAfterTheTagsBeforeIt) {
  const std::string many = manyLines(200);
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string s = many;
    std::size_t at = s.rfind(from);
    EXPECT_NE(at, std::string::npos) << from;
    return s.replace(at, from.size(), to);
  };
  const std::string cases[] = {
      "",                                       // empty
      "hello\nworld\n",                         // not DXF
      "0\nSECTION\n2\nHEADER\n70\nx\n",         // a bad value at the second group
      replaced("62\n199\n", "62\n1.5\n"),       // a bad value late in the file
      replaced("10\n150.5\n", "10\n1,5\n"),     // a real with a comma
      replaced("0\nEOF\n", ""),                 // truncated: no EOF
      replaced("31\n0.0\n62\n199\n0\nENDSEC\n0\nEOF\n", "31\n"),  // a group without its value
      replaced("62\n42\n", "1080\n42\n"),       // a code no version defines
      replaced("5\n250\n", "5\nXYZ\n"),         // not a handle
  };
  for (const std::string& text : cases) {
    const std::vector<std::string> expected = readerTrace(text);
    ASSERT_EQ(expected.back().rfind("error ", 0), 0u) << expected.back();
    for (const StreamSettings& s : kShapes) EXPECT_EQ(streamTrace(text, s), expected) << shape(s) << " " << expected.back();
  }
}

namespace {

// Record by record: the groups before each group 0 taken at once, that group 0, and where the
// source stands; the group 0 is pushed back now and then (taken again as a record of no groups),
// and the first group of a record read and pushed back at other times.
template <class Source, class Take>
std::vector<std::string> records(Source& s, Take take) {
  std::vector<std::string> out;
  try {
    std::vector<Tag> tags;
    Tag zero;
    for (int i = 0;; ++i) {
      tags.clear();
      if (!take(s, tags, zero)) {
        out.push_back("end line " + std::to_string(s.line()) + " offset " + std::to_string(s.offset()));
        break;
      }
      std::string r;
      for (const Tag& t : tags) r += std::to_string(t.code) + "@" + std::to_string(t.line) + "=" + std::string(t.value) + " ";
      out.push_back(r + "| " + std::string(zero.value) + "@" + std::to_string(zero.line) + " at " +
                    std::to_string(s.tagOffset()) + " line " + std::to_string(s.line()) + " offset " +
                    std::to_string(s.offset()));
      if (i % 2 == 0) {
        s.pushBack(zero);
      } else if (i % 3 == 0) {
        Tag t;
        if (s.next(t)) s.pushBack(t);
      }
    }
  } catch (const DxfError& e) {
    out.push_back(std::string("error ") + e.what());
  }
  return out;
}

bool takeOneByOne(TagReader& r, std::vector<Tag>& out, Tag& zero) {
  for (Tag t; r.next(t);) {
    if (t.code == 0) {
      zero = t;
      return true;
    }
    out.push_back(t);
  }
  return false;
}

bool takeAtOnce(TagStream& s, std::vector<Tag>& out, Tag& zero) { return s.takeUntilZero(out, zero); }

}  // namespace

TEST(TagStream, TakesARecordsGroupsAtOnceAsOneByOne) {
  const std::string many = manyLines(120);
  for (const std::string& text : {kMixed, many, many.substr(0, many.size() - 40), many.substr(0, 3000) + "70\nx\n"}) {
    TagReader plain(text, "s.dxf");
    const std::vector<std::string> expected = records(plain, takeOneByOne);
    ASSERT_GT(expected.size(), 3u);
    for (const StreamSettings& shape : kShapes) {
      TagReader r(text, "s.dxf");
      TagStream s(r, shape);
      EXPECT_EQ(records(s, takeAtOnce), expected) << ::shape(shape) << " " << expected.back();
    }
  }
}

TEST(TagStream, StopsItsThreadWhenDroppedEarly) {
  const std::string text = manyLines(500);
  for (std::size_t taken : {0u, 1u, 5u, 100u}) {
    TagReader plain(text, "s.dxf");
    TagReader r(text, "s.dxf");
    {
      // A ring far smaller than the file: the producer is waiting for room when the stream goes.
      TagStream s(r, StreamSettings{0, 2, 2});
      Tag a, b;
      for (std::size_t i = 0; i < taken; ++i) {
        ASSERT_TRUE(s.next(a));
        ASSERT_TRUE(plain.next(b));
        EXPECT_EQ(a.value.data(), b.value.data());
        EXPECT_EQ(a.line, b.line);
      }
    }
    // The reader is left where the producer stopped: never past the batches the ring could take.
    EXPECT_LE(r.line(), plain.line() + 2 * 2 * 2) << taken;
  }
}

TEST(TagStream, KeepsTheReadersOffsetsWhereGroupsEnd) {
  // offsetAfterGroup is how the stream answers offset(): check it against the reader on every
  // kind of line end, code layout and value.
  for (const std::string& text : {kMixed, manyLines(3)}) {
    TagReader r(text, "s.dxf");
    Tag t;
    while (r.next(t)) EXPECT_EQ(offsetAfterGroup(text, r.tagOffset()), r.offset()) << t.line;
  }
  EXPECT_EQ(offsetAfterGroup("0\nEOF", 0), 5u);  // no line end at the end of the data
  EXPECT_EQ(offsetAfterGroup("0\r\nEOF\r\n", 0), 8u);
}

namespace {

// What a walk handed over, one line per call.
class Log : public DrawingSink {
 public:
  std::vector<std::string> calls;
  void sectionBegin(const SectionPlace& s) override {
    calls.push_back("+" + s.name + " " + std::to_string(s.line) + " " + std::to_string(s.bodyOffset) + " " +
                    std::to_string(s.bodyLine));
  }
  void sectionEnd(const SectionPlace& s) override { calls.push_back("-" + s.name); }
  void tableBegin(const std::string& name, ScannedRecord& head) override { note("table " + name, head); }
  void tableRecord(ScannedRecord& rec) override { note("record", rec); }
  void tableEnd() override { calls.push_back("endtab"); }
  void blockBegin(ScannedRecord& rec) override { note("block", rec); }
  void blockEntity(ScannedRecord& rec) override { note("blockEntity", rec); }
  void blockEnd(ScannedRecord& rec) override { note("endblk", rec); }
  void entity(ScannedRecord& rec) override { note("entity", rec); }
  void object(ScannedRecord& rec) override { note("object", rec); }

 private:
  void note(const std::string& kind, const ScannedRecord& rec) {
    std::string s = kind + " " + std::to_string(rec.handle) + "@" + std::to_string(rec.handleLine);
    for (const Tag& t : rec.tags) s += " " + std::to_string(t.code) + "@" + std::to_string(t.line) + "=" + std::string(t.value);
    calls.push_back(s);
  }
};

std::string partsOf(const DrawingParts& p) {
  std::string s = p.acadVer + " " + std::to_string(p.acadVerLine) + " " + std::to_string(p.handSeed) + " " + p.codePage +
                  " " + std::to_string(p.maxHandle) + " header " + std::to_string(p.header.size()) + " classes " +
                  std::to_string(p.classes.size());
  for (const OtherSection& o : p.others) s += " " + o.name + ":" + std::to_string(o.tags.size());
  for (const SectionPlace& sp : p.sections) s += " " + sp.name + "@" + std::to_string(sp.bodyOffset);
  return s;
}

}  // namespace

TEST(TagStream, TheWalkOverItHandsOverTheSameRecords) {
  for (const char* name : {"Constraints.dxf", "Leader_2000.dxf", "PolyLine2D.dxf", "TS1.dxf", "entities-2d.dxf",
                           "example_2000.dxf", "sample_2000.dxf"}) {
    const std::string path = std::string(ZORVIK_SHARED_DIR) + "/interop/real-dxf/" + name;
    InputFile f(path);
    Log expected;
    DrawingParts expectedParts;
    {
      TagReader r(f.data(), path);
      scanDrawing(r, expected, expectedParts);
    }
    ASSERT_GT(expected.calls.size(), 50u) << name;
    for (const StreamSettings& s : {StreamSettings{0, 3, 2}, StreamSettings{0, 4096, 4}}) {
      TagReader r(f.data(), path);
      TagStream stream(r, s);
      Log seen;
      DrawingParts parts;
      scanDrawing(stream, seen, parts);
      EXPECT_EQ(seen.calls, expected.calls) << name << " " << shape(s);
      EXPECT_EQ(partsOf(parts), partsOf(expectedParts)) << name << " " << shape(s);
    }
  }
}

TEST(TagStream, WhatASinkThrowsGoesThroughAndTheThreadEnds) {
  struct Stop {};
  struct Stopper : Log {
    int left = 40;
    void entity(ScannedRecord&) override {
      if (--left == 0) throw Stop();
    }
  };
  const std::string text = manyLines(400);
  TagReader r(text, "s.dxf");
  Stopper sink;
  DrawingParts parts;
  {
    TagStream stream(r, StreamSettings{0, 16, 2});
    EXPECT_THROW(scanDrawing(stream, sink, parts), Stop);
  }
  EXPECT_EQ(sink.left, 0);
  EXPECT_EQ(sink.calls, (std::vector<std::string>{"+ENTITIES 1 " + std::to_string(text.find("0\nLINE")) + " 5"}));
}
