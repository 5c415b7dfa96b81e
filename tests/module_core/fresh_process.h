// fresh_process.h - runs a piece of a test in a new process of this test program.
//
// The module's application object is published once, by the constructor of the first
// ModuleAppBase, and never again; a test that builds its own application object (a recording
// subclass) or needs the module's statics as static construction left them runs in a fresh
// process, where the module's statics are built anew. The piece reports what it found wrong
// through a Problems list; the process exits with 0 only when the list is empty.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

class Problems {
public:
    void check(bool condition, const std::string& what)
    {
        if (!condition)
            m_text += what + "\n";
    }

    template <class A, class B>
    void equal(const A& expected, const B& actual, const std::string& what)
    {
        if (!(expected == actual)) {
            std::ostringstream out;
            out << what << ": expected [" << expected << "], got [" << actual << "]\n";
            m_text += out.str();
        }
    }

    [[noreturn]] void finish() const
    {
        if (!m_text.empty()) {
            fputs(m_text.c_str(), stderr);
            fflush(stderr);
            std::_Exit(1);
        }
        std::_Exit(0);
    }

private:
    std::string m_text;
};

// Runs `body` in a fresh process (gtest runs this test program again up to this point) and
// expects it to find no problem.
inline void expectInFreshProcess(const std::function<void(Problems&)>& body)
{
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    EXPECT_EXIT(
        {
            Problems problems;
            body(problems);
            problems.finish();
        },
        ::testing::ExitedWithCode(0), "");
}
