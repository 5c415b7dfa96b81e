// errorlog_test.cpp - the error log: growth, the reporting idiom and the printed form.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pf/output.h"

#include "errorlog.h"
#include "zorvik.h"

namespace {

ErrorRecord recordAt(int index)
{
    return getModuleApp()->errorLog().at(index);
}

TEST(ErrorLogGrowth, CapacityFollowsTheCollectionRule)
{
    // Exact fit first, then steps of 4 while the count is below 40, then count / 8.
    ErrorLog log;
    std::vector<int> capacities;
    for (int n = 0; n < 72; ++n) {
        EXPECT_EQ(n, log.add(ErrorRecord("f", "m", n)));
        if (capacities.empty() || capacities.back() != log.capacity())
            capacities.push_back(log.capacity());
    }
    EXPECT_EQ((std::vector<int>{1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41, 46, 51, 57, 64, 72}), capacities);
    EXPECT_EQ(0, log.growthStep());
}

TEST(ErrorLogGrowth, SixthAppendGrowsFromFiveToNine)
{
    ErrorLog log;
    for (int i = 0; i < 5; ++i)
        log.add(ErrorRecord());
    EXPECT_EQ(5, log.capacity());
    log.add(ErrorRecord());
    EXPECT_EQ(9, log.capacity());
    EXPECT_EQ(6, log.count());
}

TEST(ErrorLogGrowth, StepReachesItsCeilingOf1024)
{
    ErrorLog log;
    int previous = 0;
    int largestStep = 0;
    for (int n = 0; n < 9000; ++n) {
        log.add(ErrorRecord("f", "m", n));
        if (previous != 0)
            largestStep = std::max(largestStep, log.capacity() - previous);
        previous = log.capacity();
    }
    EXPECT_EQ(1024, largestStep);
    EXPECT_GE(log.capacity(), 9000);
}

TEST(ErrorLogGrowth, RecordsKeepTheirOrderAndContentAcrossGrowth)
{
    ErrorLog log;
    for (int n = 0; n < 100; ++n)
        log.add(ErrorRecord(("file" + std::to_string(n)).c_str(), ("msg" + std::to_string(n)).c_str(), n));
    ASSERT_EQ(100, log.count());
    for (int n = 0; n < 100; ++n) {
        ErrorRecord r = log.at(n);
        EXPECT_EQ("file" + std::to_string(n), r.sourceFile);
        EXPECT_EQ("msg" + std::to_string(n), r.message);
        EXPECT_EQ(n, r.line);
    }
}

TEST(ErrorLogGrowth, ReadingGivesACopy)
{
    ErrorLog log;
    log.add(ErrorRecord("a", "b", 1));
    ErrorRecord copy = log.at(0);
    copy.message = "changed";
    EXPECT_EQ("b", log.at(0).message);

    ErrorRecord fresh;
    EXPECT_EQ("", fresh.sourceFile);
    EXPECT_EQ("", fresh.message);
    EXPECT_EQ(0, fresh.line);
}

TEST(ReportStatus, SuccessRecordsNothing)
{
    int before = getModuleApp()->errorLog().count();
    EXPECT_EQ(0, reportStatus(0, 10, "src/plinenotifyobj"));
    EXPECT_EQ(before, getModuleApp()->errorLog().count());
}

TEST(ReportStatus, FailureAppendsFileMessageAndLine)
{
    int before = getModuleApp()->errorLog().count();
    EXPECT_EQ(46, reportStatus(46, 120, "src/plinenotifyobj"));
    ASSERT_EQ(before + 1, getModuleApp()->errorLog().count());
    ErrorRecord r = recordAt(before);
    EXPECT_EQ("src/plinenotifyobj", r.sourceFile);
    EXPECT_EQ("Acad::ErrorStatus = 46", r.message);
    EXPECT_EQ(120, r.line);
}

TEST(ReportStatus, NegativeStatusKeepsItsSign)
{
    int before = getModuleApp()->errorLog().count();
    EXPECT_EQ(-5002, reportStatus(-5002, 7, "src/cmd/cmdzorvik"));
    ASSERT_EQ(before + 1, getModuleApp()->errorLog().count());
    EXPECT_EQ("Acad::ErrorStatus = -5002", recordAt(before).message);
}

TEST(ReportStatus, TwoFailuresAtOneSiteAreNotMerged)
{
    int before = getModuleApp()->errorLog().count();
    reportStatus(80, 33, "src/cmd/cmdzorvik");
    reportStatus(80, 33, "src/cmd/cmdzorvik");
    ASSERT_EQ(before + 2, getModuleApp()->errorLog().count());
    ErrorRecord a = recordAt(before);
    ErrorRecord b = recordAt(before + 1);
    EXPECT_EQ(a.sourceFile, b.sourceFile);
    EXPECT_EQ(a.message, b.message);
    EXPECT_EQ(a.line, b.line);
}

TEST(PrintErrors, NewestFirstInTheTwoLineFormat)
{
    int before = getModuleApp()->errorLog().count();
    reportStatus(3, 11, "fileA");
    reportStatus(52, 22, "fileB");

    pf::OutputCapture capture;
    getModuleApp()->printErrors();
    const std::string& text = capture.text();

    const std::string entryB = "ERROR: Acad::ErrorStatus = 52\n  Module: fileB  Line: 22";
    const std::string entryA = "ERROR: Acad::ErrorStatus = 3\n  Module: fileA  Line: 11";
    size_t posB = text.find(entryB);
    size_t posA = text.find(entryA);
    ASSERT_NE(std::string::npos, posB) << text;
    ASSERT_NE(std::string::npos, posA) << text;
    EXPECT_LT(posB, posA);
    // B is the newest record, so it is printed first.
    EXPECT_EQ(0u, text.find(entryB)) << text;
    // Printing leaves the log as it was.
    EXPECT_EQ(before + 2, getModuleApp()->errorLog().count());
}

}  // namespace
